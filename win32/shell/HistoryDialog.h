// TQuenlitFileHistForm, the file history dialog: the history in a list and the
// buttons "ロード" (1), "削除" (6) and "取り消し" (2). One object lives for the
// whole run, so the buttons keep their enabled state from one showing to the next.
#pragma once

#include <windows.h>

#include "shell/FileHistory.h"
#include "win32/base/Dialog.h"
#include "win32/base/Theme.h"

namespace quenlit::win {

class HistoryDialog final : public Dialog {
 public:
  explicit HistoryDialog(const Theme& theme) : theme_(theme) {}

  // Modal above `owner`, which leaves the always-on-top layer while it shows.
  HistoryChoice show(HWND owner, const TextList& entries);

 private:
  INT_PTR handle(HWND dlg, UINT msg, WPARAM wp, LPARAM lp) override;
  void applyFonts(HWND dlg) override;
  void layout(HWND dlg) override;
  void init(HWND dlg);
  void close(HWND dlg, int result);
  void showButtons(HWND dlg) const;
  void drawEntry(const DRAWITEMSTRUCT& item) const;

  const Theme& theme_;
  HistoryButtons buttons_;
  TextList entries_;
  HistoryChoice choice_;
  Font font_, listFont_;
};

}  // namespace quenlit::win
