// How often the file's own functions are called.
#pragma once

#include "app/ResultPane.h"
#include "source/Progress.h"
#include "text/Text.h"

namespace quenlit {

// True when the first two characters, upper-cased, are "C:".
bool isCommandName(TextView name);

// Appends the top-level, non-command functions that no code line calls, then
// inserts "■参照されていないユーザー関数" where the pane ended before.
void notUsedUserFunc(const TextList& sourceLines, ResultPane& pane, ProgressBar& progress);

// Appends every top-level, non-command function with the number of code lines
// that call it (nested defuns listed under it, without a count), then inserts
// "■ユーザー関数の出現数" where the pane ended before. The count column lines up
// one blank after the longest line of the whole pane.
void userFuncUsedCount(const TextList& sourceLines, ResultPane& pane, ProgressBar& progress);

// " [%3d]": a blank, "[", the number right-aligned in three places, "]".
Text countField(int count);

}  // namespace quenlit
