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
// any sorting or look-up. They point into `codeLines`; with `lineOf`, the index of
// each one's code line goes there.
std::vector<TextView> collectCallCandidates(const TextList& codeLines, std::vector<int>* lineOf = nullptr);

// What fusokuFunc reports, as data.
struct UndefinedCall {
  Text name;
  int callingLines = 0;         // the count the pane shows
  int line = 0, column = 0;     // 0-based: the "(" of the first call collected
};
struct FunctionIssues {
  TextList duplicates;  // as the pane's line lists them: a name defined n times n - 1 times
  std::vector<UndefinedCall> undefined;  // in the pane's order
  TextList definedCallNames;             // see definedCallNames below
  std::vector<int> alsoCounted;          // per name of `alsoCount`: the code lines calling it
};
// `alsoCount`: more names whose calling lines are counted in the same pass.
FunctionIssues findFunctionIssues(const FunctionSource& src, const BuiltinList& builtins,
                                  const TextList& alsoCount = {});

// The names that count as defined for the undefined report, ASCII upper-cased: the
// name of every record of at least four fields (nested ones included) that holds no "C:".
TextList definedCallNames(const TextList& table);

// Sorts the names with the list comparison and, of every run of neighbours equal
// in ASCII case, keeps the first.
TextList sortUniqueCandidates(const std::vector<TextView>& names);

// Button7Click after its reload: clears the pane and writes the three reports
// (fusokuFunc, notUsedUserFunc, userFuncUsedCount) inside one update bracket.
// The window then scrolls the pane to its first line.
void runFunctionCheck(const TextList& sourceLines, const BuiltinList& builtins, ResultPane& pane, ProgressBar& progress);

}  // namespace quenlit
