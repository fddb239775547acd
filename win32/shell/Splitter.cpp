#include "win32/shell/Splitter.h"

#include <windowsx.h>

#include "win32/base/Ids.h"
#include "win32/base/Theme.h"

namespace quenlit::win {

namespace {

// The drag lives in the window's own extra bytes, so it needs no allocation
// and ends with the window.
constexpr int kDragActive = 0;                     // 1 while the button is down
constexpr int kDragStartY = sizeof(LONG_PTR);      // last pointer position, screen coordinates
constexpr int kExtraBytes = 2 * sizeof(LONG_PTR);

LRESULT CALLBACK splitterProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_SETCURSOR:
      SetCursor(LoadCursorW(nullptr, IDC_SIZENS));
      return TRUE;
    case WM_LBUTTONDOWN: {
      POINT p{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
      ClientToScreen(hwnd, &p);
      SetWindowLongPtrW(hwnd, kDragActive, 1);
      SetWindowLongPtrW(hwnd, kDragStartY, p.y);
      SetCapture(hwnd);
      return 0;
    }
    case WM_MOUSEMOVE:
      if (GetWindowLongPtrW(hwnd, kDragActive)) {
        POINT p{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
        ClientToScreen(hwnd, &p);
        const int dy = p.y - int(GetWindowLongPtrW(hwnd, kDragStartY));
        if (dy != 0) {
          SetWindowLongPtrW(hwnd, kDragStartY, p.y);
          SendMessageW(GetParent(hwnd), kMsgSplitterMoved, WPARAM(GetDlgCtrlID(hwnd)), LPARAM(dy));
        }
      }
      return 0;
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED:
      SetWindowLongPtrW(hwnd, kDragActive, 0);
      if (msg == WM_LBUTTONUP && GetCapture() == hwnd) ReleaseCapture();
      return 0;
    case WM_ERASEBKGND: {
      RECT r;
      GetClientRect(hwnd, &r);
      HDC dc = reinterpret_cast<HDC>(wp);
      SetDCBrushColor(dc, colors::kSplitter);
      FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
      return 1;
    }
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

}  // namespace

void registerSplitterClass(HINSTANCE instance) {
  WNDCLASSEXW wc{sizeof wc};
  wc.lpfnWndProc = splitterProc;
  wc.cbWndExtra = kExtraBytes;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_SIZENS);
  wc.lpszClassName = kSplitterClass;
  RegisterClassExW(&wc);
}

}  // namespace quenlit::win
