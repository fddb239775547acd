// Memo2, the result pane, as the reports see it: a list of lines over a
// multi-line edit control. Inside an update bracket the lines are kept here and
// written to the control once, when the outermost bracket closes.
#pragma once

#include <windows.h>

#include <optional>

#include "pane/ResultPane.h"
#include "reports/PaneNavigation.h"

namespace quenlit::win {

class PaneControl final : public ResultPane {
 public:
  void attach(HWND edit) { hwnd_ = edit; }
  HWND hwnd() const { return hwnd_; }

  size_t lineCount() const override;
  Text line(size_t index) const override;
  void insertLine(size_t index, TextView text) override;
  void removeLine(size_t index) override;
  void clear() override;
  void beginUpdate() override;
  void endUpdate() override;

  // The user typed into the control: what is kept here is stale.
  void controlChanged();
  // scrollMemoTop: scrolls up by the caret's line and puts the caret first.
  void scrollTop();
  // The control's selection as lines and columns, and setting it.
  PaneSelection selection() const;
  void select(const PaneSelection& s);

 private:
  TextList& cached() const;
  void changed();  // writes through unless a bracket is open
  void writeControl();

  HWND hwnd_ = nullptr;
  mutable std::optional<TextList> lines_;
  int depth_ = 0;
  bool dirty_ = false;
  bool writing_ = false;
};

}  // namespace quenlit::win
