// How often the file's own functions are called.
#pragma once

#include "pane/ResultPane.h"
#include "source/Progress.h"
#include "text/Text.h"

namespace quenlit {

// The code lines and function table (indent on, file order) of one source, and
// the table sorted as the usage reports read it. The reports of "関数✔" build the
// same three from the same source, so the command builds them once for all.
struct FunctionSource {
  TextList codeLines;
  TextList table;
  TextList sortedTable;  // each top-level record right before its nested ones
};
FunctionSource buildFunctionSource(const TextList& sourceLines, ProgressBar& progress, int codeDivisor,
                                   int tableDivisor);

// The function rules' labels, the same in the pane's headings ("■" before them)
// and in the check's Japanese messages.
inline constexpr TextView kFuncDuplicateLabel = u"重複して定義されているユーザー関数";
inline constexpr TextView kFuncUndefinedLabel = u"定義されていないユーザー関数";
inline constexpr TextView kFuncUnreferencedLabel = u"参照されていないユーザー関数";

// True when the first two characters, upper-cased, are "C:".
bool isCommandName(TextView name);

// Appends the top-level, non-command functions that no code line calls, then
// inserts "■参照されていないユーザー関数" where the pane ended before.
void notUsedUserFunc(const TextList& sourceLines, ResultPane& pane, ProgressBar& progress);
void notUsedUserFunc(const FunctionSource& src, ResultPane& pane, ProgressBar& progress);

// Appends every top-level, non-command function with the number of code lines
// that call it (nested defuns listed under it, without a count), then inserts
// "■ユーザー関数の出現数" where the pane ended before. The count column lines up
// one blank after the longest line of the whole pane.
void userFuncUsedCount(const TextList& sourceLines, ResultPane& pane, ProgressBar& progress);
void userFuncUsedCount(const FunctionSource& src, ResultPane& pane, ProgressBar& progress);

// " [%3d]": a blank, "[", the number right-aligned in three places, "]".
Text countField(int count);

// The count columns line up after the longest line, but never further right than
// this: a line longer than that keeps its count right behind it.
inline constexpr size_t kMaxCountColumn = 256;

}  // namespace quenlit
