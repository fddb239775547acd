// Copying an outline row's function to the clipboard: its call form, or its whole
// text from the comment block above it to its closing parenthesis.
#pragma once

#include <optional>
#include <vector>

#include "source/Outline.h"
#include "source/Progress.h"
#include "text/Text.h"

namespace quenlit {

inline constexpr char16_t kCopiedMessage[] = u"クリップボードにコピーしました．";
inline constexpr char16_t kRangeFailedMessage[] = u"行範囲の取得に失敗しました．";

// The call form of a row: "area (w h)" gives "(area w h)", "foo ()" gives "(foo)";
// a command row is copied as it stands. Nothing for a root row.
std::optional<Text> functionCallText(const OutlineRow& row);

// Where the parentheses opened at the 0-based `line` and `col` of the code lines
// balance. False (and end = start) when they never do or the start is outside.
bool findDefunEnd(const TextList& codeLines, int line, int col, int& endLine, int& endCol);

struct FunctionCopy {
  bool ok = false;
  Text clipboard;  // the source lines of the range, each followed by CR LF
  Text message;    // the confirmation or the failure to show
};

// The whole definition of outline row `rowIndex` (rows in tree order, as the
// outline gives them; a nested row's parent is the top-level row above it).
// Nothing for a root row or an index outside the rows.
std::optional<FunctionCopy> copyFunctionRange(const TextList& source, const std::vector<OutlineRow>& outline,
                                              size_t rowIndex, ProgressBar& progress);

}  // namespace quenlit
