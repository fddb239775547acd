// TQuenlitFileHistForm, the file history dialog: the history in a list and the
// buttons "ロード" (1), "削除" (6) and "取り消し" (2). One object lives for the
// whole run, so the buttons keep their enabled state from one showing to the next.
#pragma once

#include <windows.h>

#include "shell/FileHistory.h"
#include "win32/base/Theme.h"

namespace quenlit::win {

class HistoryDialog {
 public:
  explicit HistoryDialog(const Theme& theme) : theme_(theme) {}

  // Takes `owner` out of the always-on-top layer and puts the dialog into it while
  // it shows; `owner` goes back afterwards.
  HistoryChoice show(HWND owner, const TextList& entries);

 private:
  static INT_PTR CALLBACK proc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp);
  INT_PTR handle(HWND dlg, UINT msg, WPARAM wp, LPARAM lp);
  void init(HWND dlg);
  void layout(HWND dlg);
  void close(HWND dlg, int result);
  void showButtons(HWND dlg) const;
  void drawEntry(const DRAWITEMSTRUCT& item) const;

  const Theme& theme_;
  HistoryButtons buttons_;
  TextList entries_;
  HistoryChoice choice_;
  Font font_, listFont_;
  UINT dpi_ = 96;
};

}  // namespace quenlit::win
