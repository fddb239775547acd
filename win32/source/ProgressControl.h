// ProgressBar1 (0 to 100) over the common progress bar control.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "source/Progress.h"

namespace quenlit::win {

class ProgressControl final : public ProgressBar {
 public:
  void attach(HWND bar) {
    hwnd_ = bar;
    SendMessageW(hwnd_, PBM_SETRANGE32, 0, kMax);
  }
  int position() const override { return pos_; }
  void setPosition(int pos) override {
    pos_ = pos;
    SendMessageW(hwnd_, PBM_SETPOS, WPARAM(pos), 0);
    // The builders run on this thread; paint the bar now, not after they finish.
    UpdateWindow(hwnd_);
  }

 private:
  HWND hwnd_ = nullptr;
  int pos_ = 0;
};

}  // namespace quenlit::win
