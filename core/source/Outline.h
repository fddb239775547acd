// The function outline as rows, independent of any tree control.
#pragma once

#include "source/Progress.h"
#include "text/Text.h"

namespace quenlit {

enum OutlineIcon { kIconRoot = 0, kIconDefun = 1, kIconUnused = 2, kIconNested = 3 };

struct OutlineRow {
  int level = 0;  // 0 roots, 1 definitions, 2 nested definitions
  Text text;
  int line = 0;   // 1-based line of the "(DEFUN "; 0 for the roots
  int icon = kIconRoot;
  bool operator==(const OutlineRow&) const = default;
};

// A jump list entry: an outline row text and its line number.
struct JumpEntry {
  Text text;
  int line = 0;
};

// Code lines and the function table (indent on) sorted as the outline shows it.
struct OutlineSource {
  TextList codeLines;
  TextList table;
};
OutlineSource buildOutlineSource(const TextList& source, ProgressBar& progress);

// Rows in display order: "Command", its definitions each followed by its nested
// rows, then "Function" likewise. Empty when the table is empty.
std::vector<OutlineRow> makeOutlineRows(const OutlineSource& src);
std::vector<OutlineRow> makeOutlineRows(const TextList& source);

// Gives each entry the line of the first top-level definition of its name, or
// removes it when there is none. Leaves the list alone when the table is empty.
void refreshJumpList(std::vector<JumpEntry>& entries, const TextList& sortedTable);

}  // namespace quenlit
