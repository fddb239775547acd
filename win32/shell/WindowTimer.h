// Timer1 over a window timer: WM_TIMER with the timer's id reaches the window
// every interval while it is enabled.
#pragma once

#include <windows.h>

#include "shell/SaveWatch.h"

namespace quenlit::win {

class WindowTimer final : public Timer {
 public:
  WindowTimer(UINT_PTR id, UINT intervalMs) : id_(id), interval_(intervalMs) {}
  ~WindowTimer() override { setEnabled(false); }
  WindowTimer(const WindowTimer&) = delete;
  WindowTimer& operator=(const WindowTimer&) = delete;

  void attach(HWND window) { hwnd_ = window; }
  UINT_PTR id() const { return id_; }

  // Setting a running timer again would restart its interval: a key held down
  // would then keep the first tick from ever coming.
  void setEnabled(bool enabled) override {
    if (enabled == running_ || !hwnd_) return;
    running_ = enabled ? SetTimer(hwnd_, id_, interval_, nullptr) != 0 : (KillTimer(hwnd_, id_), false);
  }

 private:
  HWND hwnd_ = nullptr;
  UINT_PTR id_;
  UINT interval_;
  bool running_ = false;
};

}  // namespace quenlit::win
