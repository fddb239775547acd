// The function table: one record per top-level defun and one per nested defun.
#pragma once

#include <optional>

#include "source/Progress.h"
#include "text/Text.h"

namespace quenlit {

// 0-based index of the first "(DEFUN " in a code line, ASCII case ignored; npos if none.
size_t findDefun(TextView codeLine);

// Clears `table` and fills it from the code lines. With no code lines it returns
// at once and leaves `table` and `progress` untouched.
void makeDefunList(const TextList& codeLines, TextList& table, int divisor, ProgressBar& progress, bool indentFlag);
TextList makeDefunList(const TextList& codeLines, bool indentFlag);

// The parameter names of the definition whose "(DEFUN " starts at the given
// 0-based line and column, each followed by CR LF; empty when it has none.
Text getDefunArgs(const TextList& codeLines, int startLine, int startCol);

// The walk over a definition's head that its argument list and its local list
// share: the first non-empty code line from `line` on, the nearest non-empty one
// above `line`, and the text from (`bl`, `bp`) up to, not including, (`el`, `ep`)
// with its lines joined by one blank (none when the end is not after the start).
std::optional<size_t> nonEmptyLineFrom(const TextList& codeLines, size_t line);
std::optional<size_t> nonEmptyLineAbove(const TextList& codeLines, size_t line);
std::optional<Text> joinCodeSpan(const TextList& codeLines, size_t bl, size_t bp, size_t el, size_t ep);

// A record taken apart; the kind follows from the field count (6 or 4).
struct DefunRecord {
  Text name;
  int startLine = 0, startCol = 0, endLine = 0, endCol = 0;
};
struct NestedRecord {
  Text parent, name;
  int line = 0, col = 0;
};
std::optional<DefunRecord> parseDefunRecord(TextView record);
std::optional<NestedRecord> parseNestedRecord(TextView record);

// Reads a decimal field; non-numbers give `fallback`.
int fieldToInt(TextView field, int fallback = 0);

}  // namespace quenlit
