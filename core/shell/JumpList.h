// The jump list (ListBox1): the few functions the user works on, in the user's
// own order. What the menu items, the drag and a new outline do to the entries,
// and which entry stays selected, is decided here; the list control only shows
// them and reports the selection.
#pragma once

#include <optional>
#include <vector>

#include "source/Outline.h"

namespace quenlit {

// A jump list entry: an outline row text and its line number.
struct JumpEntry {
  Text text;
  int line = 0;
};

// ListBox1 as the logic sees it.
class JumpListBox {
 public:
  virtual ~JumpListBox() = default;
  virtual void show(const std::vector<JumpEntry>& entries) = 0;  // replaces every row; nothing selected
  virtual std::optional<size_t> selectedIndex() const = 0;
  virtual void select(std::optional<size_t> index) = 0;
};

class JumpList {
 public:
  explicit JumpList(JumpListBox& box) : box_(box) {}

  const std::vector<JumpEntry>& entries() const { return entries_; }
  // The entry the box has selected, if it names one.
  const JumpEntry* selected() const;

  // N6 (at the end) and N5 (at the top): an entry for an outline row below the
  // roots, unless one with the same text in any letter case is there already. The
  // entry that was selected stays selected, wherever the new one goes.
  void add(const OutlineRow& row, bool atTop);
  // N8 (-1) and N9 (+1): the selected entry one place up or down, still selected.
  void moveSelected(int step);
  void removeSelected();  // N10: nothing selected afterwards
  void clear();           // N7, N13 and a newly opened file
  // The drop of a drag from the entry `from` onto the entry `to`; a drop on the
  // empty space below the last entry (`to` none) moves the entry to the end.
  void drop(std::optional<size_t> from, std::optional<size_t> to);
  // A new function table (sorted, indent on): each entry takes the line of the
  // first top-level definition of its name, or goes when there is none; the
  // selected entry stays selected when it survives. An empty table changes nothing.
  void refresh(const TextList& sortedTable);

 private:
  void show(std::optional<size_t> selected);

  JumpListBox& box_;
  std::vector<JumpEntry> entries_;
};

}  // namespace quenlit
