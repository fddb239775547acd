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

}  // namespace quenlit
