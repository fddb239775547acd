// What the loads need of the window: the outline tree, the current file's name
// and encoding, the open dialog, the drop, and the progress bar they move.
#pragma once

#include <optional>
#include <vector>

#include "source/Outline.h"
#include "source/Progress.h"

namespace quenlit {

// TreeView1. Rows are addressed by their index in the order of the fully expanded
// tree, which is the order they were given in.
class OutlineTree {
 public:
  virtual ~OutlineTree() = default;
  virtual void beginUpdate() = 0;
  virtual void endUpdate() = 0;
  // Replaces every row; every node shows expanded, the first row at the top.
  virtual void setRows(const std::vector<OutlineRow>& rows) = 0;
  virtual std::optional<size_t> selectedIndex() const = 0;
  virtual std::optional<size_t> topIndex() const = 0;  // the first visible row
  virtual void select(size_t index) = 0;
  virtual void setTopIndex(size_t index) = 0;
  virtual void setFocus() = 0;
};

class SourceView {
 public:
  virtual ~SourceView() = default;
  virtual OutlineTree& tree() = 0;                    // TreeView1
  virtual ProgressBar& progress() = 0;                // ProgressBar1
  virtual void setFileNameText(TextView name) = 0;    // Edit1
  virtual void setEncodingLabel(TextView label) = 0;  // Label1
  virtual void setOpenDialogFileName(TextView path) = 0;
  virtual std::optional<Text> runOpenDialog() = 0;    // nothing when cancelled
  virtual void acceptDroppedFiles() = 0;
};

}  // namespace quenlit
