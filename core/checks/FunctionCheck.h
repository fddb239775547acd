// The function check behind "関数✔": user functions defined twice, and called
// names that are defined nowhere.
#pragma once

#include <vector>

#include "pane/ResultPane.h"
#include "checks/BuiltinList.h"
#include "checks/FunctionUsage.h"
#include "source/Progress.h"
#include "text/Text.h"

namespace quenlit {

// Appends the duplicate report and the undefined report to the end of the pane,
// leaving every earlier line alone. Writes nothing when there is nothing to say.
void fusokuFunc(const TextList& sourceLines, const BuiltinList& builtins, ResultPane& pane, ProgressBar& progress);
void fusokuFunc(const FunctionSource& src, const BuiltinList& builtins, ResultPane& pane);

// The names that stand right after "(" in the code lines, in line order, before
// any sorting or look-up. They point into `codeLines`.
std::vector<TextView> collectCallCandidates(const TextList& codeLines);

// Sorts the names with the list comparison and, of every run of neighbours equal
// in ASCII case, keeps the first.
TextList sortUniqueCandidates(const std::vector<TextView>& names);

// Button7Click after its reload: clears the pane and writes the three reports
// (fusokuFunc, notUsedUserFunc, userFuncUsedCount) inside one update bracket.
// The window then scrolls the pane to its first line.
void runFunctionCheck(const TextList& sourceLines, const BuiltinList& builtins, ResultPane& pane, ProgressBar& progress);

}  // namespace quenlit
