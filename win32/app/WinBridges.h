// The bridges the window owns besides the desktop: the window-message filter entry
// for the hook's message, the low-level keyboard hook and the COM message filter.
// (The editor and CAD bridges live in the form, on the window's WinDesktop and
// ComAutomation.)
#pragma once

#include <windows.h>

#include <future>
#include <thread>

#include "app/MainView.h"
#include "win32/base/Win.h"
#include "win32/bridge/MessageFilter.h"

namespace quenlit::win {

// The low-level keyboard hook on a thread of its own. The system calls the hook
// on the thread that installed it, and holds every key of the desktop back until
// the call returns; on the window's thread it could not be called while a reload
// keeps that thread busy, so all typing would stall, and Windows removes a hook
// that keeps it waiting too often, silently. This thread does nothing but wait
// for the system's calls, and for the event that ends it.
class KeyboardHook {
 public:
  KeyboardHook() = default;
  ~KeyboardHook() { stop(); }
  KeyboardHook(const KeyboardHook&) = delete;
  KeyboardHook& operator=(const KeyboardHook&) = delete;

  // False when the hook could not be installed (both watches then stay off).
  bool start(HWND target);
  void stop();
  bool running() const { return thread_.joinable(); }

 private:
  static LRESULT CALLBACK proc(int code, WPARAM wp, LPARAM lp);
  void run(HANDLE stopEvent, std::promise<bool>& installed);

  // The system's callback carries no pointer: it finds the one running hook here.
  // Written before the thread starts and cleared after it has ended.
  static inline KeyboardHook* active_ = nullptr;
  HWND target_ = nullptr;  // where the hook posts WM_HOOKKEY
  // Ctrl as the hook's own events left it; only the hook thread touches these.
  bool leftCtrlDown_ = false, rightCtrlDown_ = false;
  Handle stopEvent_;
  std::thread thread_;
};

class WinBridges final : public AppBridges {
 public:
  // The window the hook posts WM_HOOKKEY to.
  void setHookTarget(HWND target) { target_ = target; }
  void allowHookMessage() override;
  void registerMessageFilter() override { msgFilter_->RegisterFilter(); }
  void revokeMessageFilter() override { msgFilter_->RevokeFilter(); }
  void installKeyboardHook() override;
  void removeKeyboardHook() override { hook_.stop(); }
  bool hookInstalled() const { return hook_.running(); }

 private:
  HWND target_ = nullptr;
  MessageFilterRef msgFilter_;  // MsgFilter
  KeyboardHook hook_;  // not running while Reload is off
};

}  // namespace quenlit::win
