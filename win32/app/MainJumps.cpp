// The main window's jump pieces: the "E" button, the jump list with its menu,
// keys and drag, the result pane's jump item and the outline's copies. Each only
// forwards to the logic (TForm25).
#include <windows.h>
#include <commctrl.h>

#include "win32/base/Ids.h"
#include "win32/app/MainWindow.h"
#include "win32/reports/Clipboard.h"

namespace quenlit::win {

bool MainWindow::onJumpCommand(int id, int code, HWND control) {
  if (control) {
    if (id == kIdButton9 && code == BN_CLICKED) form_.Button9Click();
    else if (id == kIdListBox1 && code == LBN_DBLCLK) form_.ListBox1DblClick();
    else return false;
    return true;
  }
  switch (id) {  // menu items
    case kIdN1: form_.N1Click(); return true;
    case kIdN14: form_.N14Click(); return true;
    case kIdN5: form_.N5Click(); return true;
    case kIdN6: form_.N6Click(); return true;
    case kIdN7: form_.N7Click(); return true;
    case kIdN8: form_.N8Click(); return true;
    case kIdN9: form_.N9Click(); return true;
    case kIdN10: form_.N10Click(); return true;
    case kIdN13: form_.N13Click(); return true;
    case kIdN16: form_.N16Click(); return true;
    default: return false;
  }
}

LRESULT MainWindow::handleJumpList(UINT msg, WPARAM wp, LPARAM lp, bool& done) {
  HWND list = jumpBox_.hwnd();
  if (msg == WM_GETDLGCODE && wp == VK_RETURN) {
    done = true;
    return DLGC_WANTALLKEYS | DefSubclassProc(list, msg, wp, lp);
  }
  if (msg == WM_CHAR && form_.ListBox1KeyPress(char16_t(wp))) {
    done = true;  // Enter is swallowed: no beep
    return 0;
  }
  if (auto drop = jumpBox_.trackMouse(msg, wp, lp)) {
    // The list ends its own tracking first; the drop then sets the selection.
    done = true;
    const LRESULT r = DefSubclassProc(list, msg, wp, lp);
    form_.ListBox1DragDrop(drop->from, drop->to);
    return r;
  }
  return 0;
}

bool MainWindow::copyToClipboard(TextView t) { return putClipboardText(hwnd_, t); }

}  // namespace quenlit::win
