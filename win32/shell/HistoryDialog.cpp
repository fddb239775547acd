#include "win32/shell/HistoryDialog.h"

#include <iterator>

#include "win32/base/Ids.h"
#include "win32/res/resource.h"

namespace quenlit::win {

namespace {

constexpr int kDesignWidth = 274, kDesignHeight = 179;

// As designed at 96 DPI: the list fills the dialog above the buttons; "ロード" and
// "取り消し" follow the bottom edge, while "削除" keeps its place and a taller
// dialog's list grows behind it.
constexpr DialogPlace kPlaces[] = {
    {kIdHistList, 0, 0, 0, 133, DialogPlace::kFill},
    {kIdHistLoad, 20, 146, 75, 25, DialogPlace::kBottom},
    {kIdHistDelete, 101, 146, 75, 25, DialogPlace::kTop},
    {kIdHistCancel, 181, 146, 75, 25, DialogPlace::kBottom},
};

}  // namespace

HistoryChoice HistoryDialog::show(HWND owner, const TextList& entries) {
  entries_ = entries;
  choice_ = HistoryChoice{};
  if (run(owner, IDD_HISTORY) <= 0) choice_ = HistoryChoice{};
  return choice_;
}

void HistoryDialog::applyFonts(HWND dlg) {
  font_ = makeFont(L"Tahoma", 11, false, dpi_);
  listFont_ = makeFont(L"Tahoma", 13, false, dpi_);
  for (int id : {kIdHistLoad, kIdHistDelete, kIdHistCancel})
    SendDlgItemMessageW(dlg, id, WM_SETFONT, WPARAM(font_.get()), TRUE);
  SendDlgItemMessageW(dlg, kIdHistList, WM_SETFONT, WPARAM(listFont_.get()), TRUE);
}

void HistoryDialog::init(HWND dlg) {
  dpi_ = GetDpiForWindow(dlg);
  applyFonts(dlg);
  HWND list = GetDlgItem(dlg, kIdHistList);
  Theme::darkenScrollBars(list);
  Theme::darkenTitleBar(dlg);
  SetWindowTextW(dlg, kHistoryTitle);

  // Filled afresh with no selection; the buttons keep their last state.
  SendMessageW(list, LB_RESETCONTENT, 0, 0);
  for (const auto& e : entries_) SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide(e).c_str()));
  SendMessageW(list, LB_SETITEMHEIGHT, 0, scale(18, dpi_));
  showButtons(dlg);

  centreDialog(dlg, kDesignWidth, kDesignHeight, dpi_);
  layout(dlg);
}

void HistoryDialog::layout(HWND dlg) {
  placeControls(dlg, kPlaces, std::size(kPlaces), kDesignHeight, dpi_);
  for (int id : {kIdHistLoad, kIdHistDelete, kIdHistCancel})
    SetWindowPos(GetDlgItem(dlg, id), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

// A long path loses its middle, never its file name ("C:\\...\\tools\\box.lsp").
void HistoryDialog::drawEntry(const DRAWITEMSTRUCT& item) const {
  if (item.itemID == UINT(-1)) return;
  HDC dc = item.hDC;
  const bool selected = item.itemState & ODS_SELECTED;
  SetDCBrushColor(dc, selected ? colors::kSelection : colors::kField);
  FillRect(dc, &item.rcItem, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
  const LRESULT n = SendMessageW(item.hwndItem, LB_GETTEXTLEN, item.itemID, 0);
  if (n <= 0) return;
  std::wstring path(size_t(n) + 1, L'\0');
  SendMessageW(item.hwndItem, LB_GETTEXT, item.itemID, reinterpret_cast<LPARAM>(path.data()));
  path.resize(size_t(n));
  Selected use(dc, listFont_.get());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, selected ? colors::kWhite : colors::kText);
  RECT r = item.rcItem;
  r.left += scale(3, dpi_);
  DrawTextW(dc, path.c_str(), int(path.size()), &r, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_PATH_ELLIPSIS);
  if (item.itemState & ODS_FOCUS) DrawFocusRect(dc, &item.rcItem);
}

void HistoryDialog::showButtons(HWND dlg) const {
  EnableWindow(GetDlgItem(dlg, kIdHistLoad), buttons_.loadEnabled());
  EnableWindow(GetDlgItem(dlg, kIdHistDelete), buttons_.deleteEnabled());
}

void HistoryDialog::close(HWND dlg, int result) {
  const LRESULT sel = SendDlgItemMessageW(dlg, kIdHistList, LB_GETCURSEL, 0, 0);
  choice_.result = result;
  choice_.selected = sel >= 0 ? std::optional<size_t>(size_t(sel)) : std::nullopt;
  end(dlg, result);
}

INT_PTR HistoryDialog::handle(HWND dlg, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_INITDIALOG:
      init(dlg);
      return TRUE;
    case WM_SIZE:
      layout(dlg);
      return TRUE;
    case WM_COMMAND:
      switch (LOWORD(wp)) {
        case kIdHistList:
          if (HIWORD(wp) == LBN_SELCHANGE) {  // ListBox1Click
            buttons_.listSelectionChanged(SendDlgItemMessageW(dlg, kIdHistList, LB_GETCURSEL, 0, 0) >= 0);
            showButtons(dlg);
          }
          return TRUE;
        case kIdHistLoad:
          close(dlg, kMrOk);
          return TRUE;
        case kIdHistDelete:
          close(dlg, kMrYes);
          return TRUE;
        case kIdHistCancel:
        case IDCANCEL:  // the frame's close box and Escape
          close(dlg, kMrCancel);
          return TRUE;
      }
      return FALSE;
    case WM_CTLCOLORDLG:
      return reinterpret_cast<INT_PTR>(theme_.windowBrush());
    case WM_CTLCOLORLISTBOX:
      return reinterpret_cast<INT_PTR>(theme_.colorField(reinterpret_cast<HDC>(wp), colors::kText));
    case WM_DRAWITEM: {
      const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
      if (item.CtlType == ODT_LISTBOX)
        drawEntry(item);
      else
        theme_.drawButton(item);
      return TRUE;
    }
  }
  return FALSE;
}

}  // namespace quenlit::win
