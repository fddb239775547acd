// The bridges of later work as the window has them today: the window-message
// filter entry for the hook's message is made; the keyboard hook and the COM
// message filter keep AppBridges' empty defaults until their own work fills them
// in. (The editor bridge lives in the form, on the window's WinDesktop.)
#pragma once

#include "app/MainView.h"

namespace quenlit::win {

inline constexpr unsigned kWmHookKey = 0x806E;  // WM_APP + 110, posted by the keyboard hook

class WinBridges final : public AppBridges {
 public:
  void allowHookMessage() override;
};

}  // namespace quenlit::win
