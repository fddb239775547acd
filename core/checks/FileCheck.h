// Every check of one file as a list of findings with a stable rule id, for tools
// that read findings rather than the pane: editors, CI, `quenlit check`.
#pragma once

#include <span>
#include <vector>

#include "checks/BuiltinList.h"
#include "checks/FunctionCheck.h"
#include "text/Text.h"

namespace quenlit {

enum class Rule {
  kParenUnbalanced,
  kParenFileUnbalanced,
  kVarGlobal,
  kVarGlobalInSub,
  kVarGlobalOutside,
  kVarUnusedArg,
  kVarUnusedLocal,
  kVarDuplicateLocal,
  kVarArgAndLocal,
  kFuncDuplicate,
  kFuncUndefined,
  kFuncUnreferenced,
};

enum class Severity { kWarning, kError };

struct RuleInfo {
  Rule rule;
  const char* id;  // "var-unused-local"
  Severity severity;
  const char* description;  // English, one sentence
};

// Every rule, in the order above.
std::span<const RuleInfo> checkRules();
const RuleInfo& ruleInfo(Rule rule);
const char* severityName(Severity severity);  // "warning", "error"

enum class Lang { kEnglish, kJapanese };

struct Finding {
  Rule rule = Rule::kVarGlobal;
  int line = 1;    // 1-based source line
  int column = 0;  // 1-based, in UTF-16 code units of the source line; 0 when not known
  Text message;
};

struct CheckLists {
  const TextList& jogai;  // sorted, as loadJogaiList gives it
  const BuiltinList& builtins;
  Lang lang = Lang::kEnglish;
};

// One file's findings, and what the function findings need when several files
// are judged together.
struct FileCheck {
  std::vector<Finding> findings;  // sorted by line, column, rule (once finished)

  struct Function {  // a top-level function that is not a command
    Text name;
    int line = 0, column = 0;  // 1-based; column 0 when not known
  };
  std::vector<Function> functions;
  TextList definedNames;                 // definedCallNames of the table
  std::vector<UndefinedCall> undefined;  // before looking at other files; lines 1-based
  std::vector<int> localCalls;           // per function: the code lines of this file that call it
  TextList codeLines;                    // kept for the count over all files
};

// Runs every check on the source lines (code lines and function table built once)
// and adds the findings of every rule except func-undefined and func-unreferenced.
FileCheck checkSource(const TextList& sourceLines, const CheckLists& lists);

// Adds the func-undefined and func-unreferenced findings of a file judged alone,
// then sorts the findings.
void finishAlone(FileCheck& file, Lang lang);

// The same for files judged together: a function defined in any of them is defined
// for all, and unreferenced only when none of them calls it.
void finishTogether(std::span<FileCheck> files, Lang lang);

}  // namespace quenlit
