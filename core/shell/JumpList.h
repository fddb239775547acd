// The jump list (ListBox1): the few functions the user works on, in the user's
// own order. What the menu items and the drag do to the entries is decided here;
// the list control only shows them and reports the selection.
#pragma once

#include <optional>
#include <vector>

#include "source/Outline.h"

namespace quenlit {

// ListBox1 as the logic sees it.
class JumpListBox {
 public:
  virtual ~JumpListBox() = default;
  virtual void show(const std::vector<JumpEntry>& entries) = 0;  // replaces every row; nothing selected
  virtual std::optional<size_t> selectedIndex() const = 0;
  virtual void select(std::optional<size_t> index) = 0;
};

// N6 (at the end) and N5 (at the top): an entry for an outline row below the
// roots, unless one with the same text in any letter case is there already.
bool addJumpEntry(std::vector<JumpEntry>& entries, const OutlineRow& row, bool atTop);

// N8 (-1) and N9 (+1): the selected entry one place up or down; its new index, or
// nothing when it cannot move.
std::optional<size_t> moveJumpEntry(std::vector<JumpEntry>& entries, std::optional<size_t> selected, int step);

// The drop of a drag from the entry `from` onto the entry `to`; a drop on the
// empty space below the last entry (`to` none) moves the entry to the end. The
// moved entry's new index, or nothing when the drag did not start on an entry.
std::optional<size_t> dropJumpEntry(std::vector<JumpEntry>& entries, std::optional<size_t> from,
                                    std::optional<size_t> to);

}  // namespace quenlit
