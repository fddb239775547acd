// The three right-click menus and the VS Code key choice in them.
#include <windowsx.h>

#include "win32/base/Ids.h"
#include "win32/app/MainWindow.h"

namespace quenlit::win {

namespace {

void addItem(HMENU m, int id, const wchar_t* caption) { AppendMenuW(m, MF_STRING, UINT_PTR(id), caption); }
void addSeparator(HMENU m) { AppendMenuW(m, MF_SEPARATOR, 0, nullptr); }

// The VS Code key choice: a parent item with "CTRL+G" and "ALT+G" under it. The
// parent gets an id of its own, so its caption is found by id, not by position.
void addKeyChoice(HMENU m, int parentId, int ctrlId, int altId) {
  HMENU sub = CreatePopupMenu();
  addItem(sub, ctrlId, L"CTRL+G");
  addItem(sub, altId, L"ALT+G");
  std::wstring caption = wide(kKeyChoiceCtrl);
  MENUITEMINFOW mi{};
  mi.cbSize = sizeof mi;
  mi.fMask = MIIM_ID | MIIM_SUBMENU | MIIM_STRING;
  mi.wID = UINT(parentId);
  mi.hSubMenu = sub;
  mi.dwTypeData = caption.data();
  InsertMenuItemW(m, GetMenuItemCount(m), TRUE, &mi);
}

}  // namespace

void MainWindow::createMenus() {
  popupMenu1_.reset(CreatePopupMenu());  // the outline
  HMENU m = popupMenu1_.get();
  addItem(m, kIdN6, L"ジャンプリストに追加");
  addItem(m, kIdN5, L"ジャンプリストの先頭に挿入");
  addSeparator(m);
  addItem(m, kIdN7, L"ジャンプリストをクリア");
  addSeparator(m);
  addItem(m, kIdN1, L"関数名だけをクリップボードにコピー");
  addItem(m, kIdN14, L"関数の範囲すべてをクリップボードにコピー");
  addSeparator(m);
  addItem(m, kIdCAD3, L"ターゲット CAD");
  addItem(m, kIdCAD1, L"コマンドを CAD へ送信");
  addSeparator(m);
  addKeyChoice(m, kIdCTRLG3, kIdCTRLG4, kIdALTG2);
  addSeparator(m);
  addItem(m, kIdN20, L"バージョン情報");

  popupMenu2_.reset(CreatePopupMenu());  // the jump list
  m = popupMenu2_.get();
  addItem(m, kIdN8, L"撰択行を１つ上に");
  addItem(m, kIdN9, L"選択行を１つ下に");
  addSeparator(m);
  addItem(m, kIdN10, L"選択行を削除");
  addSeparator(m);
  addItem(m, kIdN13, L"すべてを削除");
  addSeparator(m);
  addItem(m, kIdCAD4, L"ターゲット CAD");
  addItem(m, kIdCAD2, L"コマンドを CAD へ送信");
  addSeparator(m);
  addKeyChoice(m, kIdCTRLG1, kIdCTRLG2, kIdALTG1);
  addSeparator(m);
  addItem(m, kIdN18, L"バージョン情報");

  popupMenu3_.reset(CreatePopupMenu());  // the result pane
  addItem(popupMenu3_.get(), kIdN16, L"選択した関数行へジャンプ");
}

void MainWindow::showKeyChoice(bool ctrlG) {
  const std::wstring caption = wide(ctrlG ? kKeyChoiceCtrl : kKeyChoiceAlt);
  for (auto [m, parentId] : {std::pair{popupMenu1_.get(), kIdCTRLG3}, std::pair{popupMenu2_.get(), kIdCTRLG1}}) {
    MENUITEMINFOW mi{};
    mi.cbSize = sizeof mi;
    mi.fMask = MIIM_STRING;
    mi.dwTypeData = const_cast<wchar_t*>(caption.c_str());
    SetMenuItemInfoW(m, UINT(parentId), FALSE, &mi);
  }
  for (int id : {kIdCTRLG2, kIdCTRLG4}) {
    CheckMenuItem(popupMenu1_.get(), UINT(id), MF_BYCOMMAND | (ctrlG ? MF_CHECKED : MF_UNCHECKED));
    CheckMenuItem(popupMenu2_.get(), UINT(id), MF_BYCOMMAND | (ctrlG ? MF_CHECKED : MF_UNCHECKED));
  }
  for (int id : {kIdALTG1, kIdALTG2}) {
    CheckMenuItem(popupMenu1_.get(), UINT(id), MF_BYCOMMAND | (ctrlG ? MF_UNCHECKED : MF_CHECKED));
    CheckMenuItem(popupMenu2_.get(), UINT(id), MF_BYCOMMAND | (ctrlG ? MF_UNCHECKED : MF_CHECKED));
  }
}

void MainWindow::popup(HMENU menu, HWND from, LPARAM screenPoint) {
  POINT p{GET_X_LPARAM(screenPoint), GET_Y_LPARAM(screenPoint)};
  if (p.x == -1 && p.y == -1) {  // from the keyboard: at the control's corner
    RECT r;
    GetWindowRect(from, &r);
    p = {r.left + 8, r.top + 8};
  }
  TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON, p.x, p.y, 0, hwnd_, nullptr);
}

}  // namespace quenlit::win
