#include "shell/Splitter.h"

#include <windowsx.h>

#include "app/Ids.h"
#include "app/Theme.h"

namespace quenlit::win {

namespace {

struct Drag {
  bool active = false;
  int startY = 0;  // screen coordinates
};

LRESULT CALLBACK splitterProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  auto* drag = reinterpret_cast<Drag*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  switch (msg) {
    case WM_NCCREATE:
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(new Drag));
      break;
    case WM_NCDESTROY:
      delete drag;
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
      break;
    case WM_SETCURSOR:
      SetCursor(LoadCursorW(nullptr, IDC_SIZENS));
      return TRUE;
    case WM_LBUTTONDOWN: {
      POINT p{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
      ClientToScreen(hwnd, &p);
      drag->active = true;
      drag->startY = p.y;
      SetCapture(hwnd);
      return 0;
    }
    case WM_MOUSEMOVE:
      if (drag && drag->active) {
        POINT p{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
        ClientToScreen(hwnd, &p);
        const int dy = p.y - drag->startY;
        if (dy != 0) {
          drag->startY = p.y;
          SendMessageW(GetParent(hwnd), kMsgSplitterMoved, WPARAM(GetDlgCtrlID(hwnd)), LPARAM(dy));
        }
      }
      return 0;
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED:
      if (drag) drag->active = false;
      if (msg == WM_LBUTTONUP && GetCapture() == hwnd) ReleaseCapture();
      return 0;
    case WM_ERASEBKGND: {
      RECT r;
      GetClientRect(hwnd, &r);
      Brush b(CreateSolidBrush(colors::kSplitter));
      FillRect(reinterpret_cast<HDC>(wp), &r, b.get());
      return 1;
    }
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

}  // namespace

void registerSplitterClass(HINSTANCE instance) {
  WNDCLASSEXW wc{sizeof wc};
  wc.lpfnWndProc = splitterProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_SIZENS);
  wc.lpszClassName = kSplitterClass;
  RegisterClassExW(&wc);
}

}  // namespace quenlit::win
