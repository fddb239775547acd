#include "win32/bridge/TargetCadDialog.h"

#include <commctrl.h>

#include <iterator>

#include "win32/base/Ids.h"
#include "win32/res/resource.h"

namespace quenlit::win {

namespace {

constexpr int kDesignWidth = 360, kDesignHeight = 262;

// As designed at 96 DPI: the list on top, each edit under its label, the
// three list buttons at the left of the bottom row, OK and cancel at its right.
constexpr DialogPlace kPlaces[] = {
    {kIdTargetList, 8, 8, 344, 120},     {kIdTargetLabel1, 8, 136, 200, 15}, {kIdTargetEdit1, 8, 152, 344, 22},
    {kIdTargetLabel2, 8, 180, 200, 15},  {kIdTargetEdit2, 8, 196, 344, 22},  {kIdTargetAdd, 8, 228, 52, 25},
    {kIdTargetDelete, 64, 228, 52, 25},  {kIdTargetChange, 120, 228, 52, 25}, {kIdTargetOk, 204, 228, 72, 25},
    {kIdTargetCancel, 280, 228, 72, 25},
};

}  // namespace

void TargetCadDialog::show(HWND owner, TargetCadForm& form, TextView progId) {
  form_ = &form;
  progId_ = Text(progId);
  run(owner, IDD_TARGETCAD);
  form_ = nullptr;
}

// Enter in either edit box is swallowed and runs "変更".
LRESULT CALLBACK TargetCadDialog::editProc(HWND edit, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR self) {
  auto* d = reinterpret_cast<TargetCadDialog*>(self);
  if (msg == WM_GETDLGCODE && wp == VK_RETURN) return DLGC_WANTALLKEYS | DefSubclassProc(edit, msg, wp, lp);
  if (msg == WM_CHAR && d->form_ && d->form_->EditKeyPress(char16_t(wp))) return 0;
  if (msg == WM_NCDESTROY) RemoveWindowSubclass(edit, editProc, id);
  return DefSubclassProc(edit, msg, wp, lp);
}

void TargetCadDialog::applyFonts(HWND dlg) {
  font_ = makeFont(L"Tahoma", 11, false, dpi_);
  for (const DialogPlace& p : kPlaces) SendDlgItemMessageW(dlg, p.id, WM_SETFONT, WPARAM(font_.get()), TRUE);
}

void TargetCadDialog::init(HWND dlg) {
  dlg_ = dlg;
  dpi_ = GetDpiForWindow(dlg);
  applyFonts(dlg);
  Theme::darkenTitleBar(dlg);
  Theme::darkenScrollBars(item(kIdTargetList));
  SetWindowTextW(dlg, wide(kTargetDialogTitle).c_str());
  for (int id : {kIdTargetEdit1, kIdTargetEdit2})
    SetWindowSubclass(item(id), editProc, UINT_PTR(id), reinterpret_cast<DWORD_PTR>(this));

  centreDialog(dlg, kDesignWidth, kDesignHeight, dpi_);
  layout(dlg);

  // As it was left, then what the file says now.
  form_->attach(this);
  form_->FormShow(progId_);
}

void TargetCadDialog::layout(HWND dlg) {
  placeControls(dlg, kPlaces, std::size(kPlaces), kDesignHeight, dpi_);
  // Tab stops in dialog units: the identifier column after the name.
  const int stop = 120;
  SendMessageW(item(kIdTargetList), LB_SETTABSTOPS, 1, reinterpret_cast<LPARAM>(&stop));
}

void TargetCadDialog::close(int result) {
  form_->FormClose();
  end(dlg_, result);
  dlg_ = nullptr;
}

INT_PTR TargetCadDialog::handle(HWND dlg, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_INITDIALOG:
      init(dlg);
      return TRUE;
    case WM_COMMAND:
      switch (LOWORD(wp)) {
        case kIdTargetList:
          if (HIWORD(wp) == LBN_SELCHANGE) form_->ListBox1Click();
          return TRUE;
        case kIdTargetAdd: form_->SpeedButton1Click(); return TRUE;
        case kIdTargetDelete: form_->SpeedButton2Click(); return TRUE;
        case kIdTargetChange: form_->SpeedButton3Click(); return TRUE;
        case kIdTargetOk:
        case IDOK:
          form_->Button1Click();
          close(IDOK);
          return TRUE;
        case kIdTargetCancel:
        case IDCANCEL:  // the frame's close box and Escape
          close(IDCANCEL);
          return TRUE;
      }
      return FALSE;
    case WM_CTLCOLORDLG:
      return reinterpret_cast<INT_PTR>(theme_.windowBrush());
    case WM_CTLCOLORSTATIC:
      return reinterpret_cast<INT_PTR>(theme_.colorStatic(reinterpret_cast<HDC>(wp), colors::kText));
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
      return reinterpret_cast<INT_PTR>(theme_.colorField(reinterpret_cast<HDC>(wp), colors::kText));
    case WM_DRAWITEM:
      theme_.drawButton(*reinterpret_cast<const DRAWITEMSTRUCT*>(lp));
      return TRUE;
  }
  return FALSE;
}

// ---------------------------------------------------------------- TargetCadView

void TargetCadDialog::showItems(const TextList& items) {
  HWND list = item(kIdTargetList);
  SendMessageW(list, WM_SETREDRAW, FALSE, 0);
  SendMessageW(list, LB_RESETCONTENT, 0, 0);
  int widest = 0;
  {
    WindowDC dc(list);
    Selected use(dc.get(), font_.get());
    for (const Text& t : items) {
      const std::wstring w = wide(t);
      SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(w.c_str()));
      const DWORD ext = GetTabbedTextExtentW(dc.get(), w.c_str(), int(w.size()), 0, nullptr);
      widest = std::max(widest, int(LOWORD(ext)));
    }
  }
  SendMessageW(list, LB_SETHORIZONTALEXTENT, WPARAM(widest + scale(200, dpi_)), 0);
  SendMessageW(list, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(list, nullptr, TRUE);
}

std::optional<size_t> TargetCadDialog::selectedIndex() const {
  const LRESULT sel = SendMessageW(item(kIdTargetList), LB_GETCURSEL, 0, 0);
  return sel >= 0 ? std::optional<size_t>(size_t(sel)) : std::nullopt;
}

void TargetCadDialog::select(std::optional<size_t> index) {
  SendMessageW(item(kIdTargetList), LB_SETCURSEL, index ? WPARAM(*index) : WPARAM(-1), 0);
}

Text TargetCadDialog::edit1() const { return text(windowText(item(kIdTargetEdit1))); }
Text TargetCadDialog::edit2() const { return text(windowText(item(kIdTargetEdit2))); }
void TargetCadDialog::setEdit1(TextView t) { SetWindowTextW(item(kIdTargetEdit1), wide(t).c_str()); }
void TargetCadDialog::setEdit2(TextView t) { SetWindowTextW(item(kIdTargetEdit2), wide(t).c_str()); }

void TargetCadDialog::showFileError(TextView path, const FileError& error) { showFileErrorBox(dlg_, path, error); }

}  // namespace quenlit::win
