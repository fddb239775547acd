// The dark look: colours, the brushes the colour messages hand out, and the
// painting of owner-drawn buttons. Built in, so there is nothing to load or fail.
#pragma once

#include <windows.h>

#include "win32/base/Win.h"

namespace quenlit::win {

namespace colors {
inline constexpr COLORREF kWindow = RGB(0x2B, 0x2B, 0x2B);     // panels and dialogs: the gray background
inline constexpr COLORREF kField = RGB(0x1E, 0x1E, 0x1E);      // edits, lists, the outline
inline constexpr COLORREF kText = RGB(0xE6, 0xE6, 0xE6);
inline constexpr COLORREF kSilver = RGB(0xC0, 0xC0, 0xC0);     // the file name and the outline's rows
inline constexpr COLORREF kWhite = RGB(0xFF, 0xFF, 0xFF);      // "Jump"
inline constexpr COLORREF kDisabledText = RGB(0x80, 0x80, 0x80);
inline constexpr COLORREF kButton = RGB(0x3C, 0x3C, 0x3C);
inline constexpr COLORREF kButtonPressed = RGB(0x55, 0x55, 0x55);
inline constexpr COLORREF kBorder = RGB(0x64, 0x64, 0x64);
inline constexpr COLORREF kFocus = RGB(0x3D, 0x8E, 0xD8);
inline constexpr COLORREF kSelection = RGB(0x26, 0x4F, 0x78);          // a selected row
inline constexpr COLORREF kInactiveSelection = RGB(0x3F, 0x3F, 0x46);  // the same where the focus is elsewhere
inline constexpr COLORREF kSplitter = RGB(0x3A, 0x3A, 0x3A);
inline constexpr COLORREF kProgress = RGB(0x3D, 0x8E, 0xD8);
inline constexpr COLORREF kOrange = RGB(0xF0, 0x8C, 0x1E);     // outline icons 0 and 3
inline constexpr COLORREF kTeal = RGB(0x1E, 0xA0, 0xA0);       // outline icons 1 and 2
}  // namespace colors

class Theme {
 public:
  Theme();
  HBRUSH windowBrush() const { return window_.get(); }
  HBRUSH fieldBrush() const { return field_.get(); }

  // WM_CTLCOLOR* for a child: sets the DC's colours and returns the brush.
  HBRUSH colorStatic(HDC dc, COLORREF text) const;
  HBRUSH colorField(HDC dc, COLORREF text) const;

  // WM_DRAWITEM of an owner-drawn push button.
  void drawButton(const DRAWITEMSTRUCT& item) const;

  // Dark title bar and dark scroll bars where the system offers them; the calls
  // change nothing where it does not.
  static void darkenTitleBar(HWND hwnd);
  static void darkenScrollBars(HWND hwnd);
  // Classic drawing, which honours the colour messages (check boxes, progress bar).
  static void plainDrawing(HWND hwnd);

 private:
  Brush window_, field_, button_, pressed_;
};

}  // namespace quenlit::win
