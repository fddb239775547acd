// What the checks and reports need of the window: the result pane, its
// selection and scrolling, and the search bar above it.
#pragma once

#include "pane/ResultPane.h"
#include "reports/PaneNavigation.h"

namespace quenlit {

class PaneView {
 public:
  virtual ~PaneView() = default;
  virtual ResultPane& pane() = 0;    // Memo2
  virtual void scrollPaneTop() = 0;  // scrollMemoTop
  virtual PaneSelection paneSelection() const = 0;
  virtual void setPaneSelection(const PaneSelection& selection) = 0;
  virtual Text searchText() const = 0;  // Edit2
  virtual bool orderMode() const = 0;   // CheckBox3
};

}  // namespace quenlit
