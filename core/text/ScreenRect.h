// A rectangle in screen pixels, shared by the window layout and the desktop the
// bridges work on.
#pragma once

namespace quenlit {

struct ScreenRect {
  int left = 0, top = 0, right = 0, bottom = 0;
  int width() const { return right - left; }
  int height() const { return bottom - top; }
  bool operator==(const ScreenRect&) const = default;
};

}  // namespace quenlit
