// TTargetCADForm on Windows: the dialog's controls behind TargetCadView, its
// events forwarded to the logic (TargetCadForm in core/bridge), which also
// keeps what the controls showed from one showing to the next.
#pragma once

#include <windows.h>

#include "win32/base/Dialog.h"
#include "win32/base/Theme.h"
#include "bridge/TargetCadForm.h"

namespace quenlit::win {

class TargetCadDialog final : public Dialog, public TargetCadView {
 public:
  explicit TargetCadDialog(const Theme& theme) : theme_(theme) {}

  // Modal above `owner`, which leaves the always-on-top layer while it shows.
  void show(HWND owner, TargetCadForm& form, TextView progId);

  // TargetCadView
  void showItems(const TextList& items) override;
  std::optional<size_t> selectedIndex() const override;
  void select(std::optional<size_t> index) override;
  Text edit1() const override;
  Text edit2() const override;
  void setEdit1(TextView text) override;
  void setEdit2(TextView text) override;
  void showFileError(TextView path, const FileError& error) override;

 private:
  static LRESULT CALLBACK editProc(HWND edit, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR self);
  INT_PTR handle(HWND dlg, UINT msg, WPARAM wp, LPARAM lp) override;
  void applyFonts(HWND dlg) override;
  void layout(HWND dlg) override;
  void init(HWND dlg);
  void close(int result);
  HWND item(int id) const { return GetDlgItem(dlg_, id); }

  const Theme& theme_;
  TargetCadForm* form_ = nullptr;
  Text progId_;
  HWND dlg_ = nullptr;
  Font font_;
};

}  // namespace quenlit::win
