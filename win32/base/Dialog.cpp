#include "win32/base/Dialog.h"

#include "win32/base/Win.h"

namespace quenlit::win {

namespace {

void paintOnly() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE | PM_QS_PAINT)) DispatchMessageW(&msg);
}

}  // namespace

INT_PTR Dialog::run(HWND owner, int resource) {
  SetWindowPos(owner, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  paintOnly();
  const INT_PTR r = DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(resource), owner, proc,
                                    reinterpret_cast<LPARAM>(this));
  if (r == -1) trace(L"DialogBoxParamW");
  SetWindowPos(owner, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  paintOnly();
  return r;
}

void Dialog::end(HWND dlg, INT_PTR result) {
  SetWindowPos(dlg, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  EndDialog(dlg, result);
}

INT_PTR CALLBACK Dialog::proc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_INITDIALOG) SetWindowLongPtrW(dlg, DWLP_USER, lp);
  auto* self = reinterpret_cast<Dialog*>(GetWindowLongPtrW(dlg, DWLP_USER));
  if (!self) return FALSE;
  if (msg == WM_DPICHANGED) {
    self->dpi_ = HIWORD(wp);
    self->applyFonts(dlg);
    const RECT* r = reinterpret_cast<const RECT*>(lp);
    SetWindowPos(dlg, nullptr, r->left, r->top, r->right - r->left, r->bottom - r->top, SWP_NOZORDER);
    self->layout(dlg);
    return TRUE;
  }
  return self->handle(dlg, msg, wp, lp);
}

void placeControls(HWND dlg, const DialogPlace* places, size_t count, int designHeight, UINT dpi) {
  RECT c;
  GetClientRect(dlg, &c);
  auto s = [dpi](int v) { return scale(v, dpi); };
  for (size_t i = 0; i < count; ++i) {
    const DialogPlace& p = places[i];
    HWND control = GetDlgItem(dlg, p.id);
    switch (p.anchor) {
      case DialogPlace::kTop: MoveWindow(control, s(p.x), s(p.y), s(p.w), s(p.h), TRUE); break;
      case DialogPlace::kBottom:
        MoveWindow(control, s(p.x), c.bottom - s(designHeight - p.y), s(p.w), s(p.h), TRUE);
        break;
      case DialogPlace::kFill: MoveWindow(control, s(p.x), s(p.y), c.right, c.bottom - s(designHeight - p.h), TRUE); break;
    }
  }
}

}  // namespace quenlit::win
