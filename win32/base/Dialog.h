// A modal dialog of the program. What every dialog does the same way lives here:
// the dialog procedure that reaches its object, the swap of the always-on-top
// layer with the owner while it shows, the painting that runs around it, and its
// fonts and layout again when it moves to a screen of another DPI.
#pragma once

#include <windows.h>

namespace quenlit::win {

class Dialog {
 public:
  virtual ~Dialog() = default;

 protected:
  // Takes `owner` out of the always-on-top layer and shows the dialog template
  // `resource` modally in it (made topmost as it opens); `owner` goes back
  // afterwards. Only painting runs in between: a click queued meanwhile waits
  // for the dialog. The value EndDialog was given, or -1.
  INT_PTR run(HWND owner, int resource);
  // Leaves the always-on-top layer first, so the owner comes back above it.
  void end(HWND dlg, INT_PTR result);

  // The dialog's own messages; WM_DPICHANGED never reaches it.
  virtual INT_PTR handle(HWND dlg, UINT msg, WPARAM wp, LPARAM lp) = 0;
  // Fonts made for `dpi_` and given to the controls, and the controls placed.
  virtual void applyFonts(HWND dlg) = 0;
  virtual void layout(HWND dlg) = 0;

  UINT dpi_ = 96;

 private:
  static INT_PTR CALLBACK proc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp);
};

// A control's place as designed at 96 DPI. A control anchored to the bottom
// keeps its distance from the bottom edge; one that fills takes the width and
// grows with the height, ending `h` design pixels below the design's top.
struct DialogPlace {
  enum Anchor { kTop, kBottom, kFill };
  int id, x, y, w, h;
  Anchor anchor = kTop;
};
// Places the controls in a client area at `dpi` for a design `designHeight` high.
void placeControls(HWND dlg, const DialogPlace* places, size_t count, int designHeight, UINT dpi);

}  // namespace quenlit::win
