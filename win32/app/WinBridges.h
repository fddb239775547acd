// The bridges as the window has them: the window-message filter entry for the
// hook's message and the COM message filter; the keyboard hook keeps
// AppBridges' empty default until its own work fills it in. (The editor and CAD
// bridges live in the form, on the window's WinDesktop and ComAutomation.)
#pragma once

#include "app/MainView.h"
#include "bridge/MessageFilter.h"

namespace quenlit::win {

inline constexpr unsigned kWmHookKey = 0x806E;  // WM_APP + 110, posted by the keyboard hook

class WinBridges final : public AppBridges {
 public:
  void allowHookMessage() override;
  void registerMessageFilter() override { msgFilter_->RegisterFilter(); }
  void revokeMessageFilter() override { msgFilter_->RevokeFilter(); }

 private:
  MessageFilterRef msgFilter_;  // MsgFilter
};

}  // namespace quenlit::win
