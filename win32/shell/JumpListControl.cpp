#include "win32/shell/JumpListControl.h"

#include <windowsx.h>

#include <cstdlib>

#include "win32/base/Win.h"

namespace quenlit::win {

void JumpListControl::show(const std::vector<JumpEntry>& entries) {
  SendMessageW(hwnd_, WM_SETREDRAW, FALSE, 0);
  SendMessageW(hwnd_, LB_RESETCONTENT, 0, 0);
  for (const auto& e : entries) SendMessageW(hwnd_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide(e.text).c_str()));
  SendMessageW(hwnd_, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(hwnd_, nullptr, TRUE);
}

std::optional<size_t> JumpListControl::selectedIndex() const {
  const LRESULT i = SendMessageW(hwnd_, LB_GETCURSEL, 0, 0);
  return i == LB_ERR ? std::nullopt : std::optional<size_t>(size_t(i));
}

void JumpListControl::select(std::optional<size_t> index) {
  SendMessageW(hwnd_, LB_SETCURSEL, index ? WPARAM(*index) : WPARAM(-1), 0);
}

std::optional<size_t> JumpListControl::entryAt(POINT p) const {
  const LRESULT hit = SendMessageW(hwnd_, LB_ITEMFROMPOINT, 0, MAKELPARAM(p.x, p.y));
  const int index = LOWORD(hit);
  RECT item{};
  // The nearest entry counts only when the point lies on it.
  if (SendMessageW(hwnd_, LB_GETITEMRECT, WPARAM(index), reinterpret_cast<LPARAM>(&item)) == LB_ERR) return std::nullopt;
  if (!PtInRect(&item, p)) return std::nullopt;
  return size_t(index);
}

std::optional<JumpListControl::Drop> JumpListControl::trackMouse(UINT msg, WPARAM wp, LPARAM lp) {
  const POINT p{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
  switch (msg) {
    case WM_LBUTTONDOWN:
      pressed_ = true;
      dragging_ = false;
      startingPoint_ = p;
      return std::nullopt;
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      startingPoint_ = p;
      return std::nullopt;
    case WM_MOUSEMOVE:
      if (pressed_ && (wp & MK_LBUTTON) &&
          (std::abs(p.x - startingPoint_.x) > GetSystemMetrics(SM_CXDRAG) / 2 ||
           std::abs(p.y - startingPoint_.y) > GetSystemMetrics(SM_CYDRAG) / 2))
        dragging_ = true;
      return std::nullopt;
    case WM_LBUTTONUP: {
      const bool dropped = dragging_;
      pressed_ = dragging_ = false;
      RECT client;
      GetClientRect(hwnd_, &client);
      // A drop outside the list is no drop on it.
      if (!dropped || !PtInRect(&client, p)) return std::nullopt;
      return Drop{entryAt(startingPoint_), entryAt(p)};
    }
    case WM_CAPTURECHANGED:
      pressed_ = dragging_ = false;
      return std::nullopt;
  }
  return std::nullopt;
}

}  // namespace quenlit::win
