// The variable check: per top-level and nested definition the undeclared (global),
// unused, duplicated and argument-and-local names, and the words outside all
// definitions, written into the result pane.
#pragma once

#include <vector>

#include "pane/ResultPane.h"
#include "source/Progress.h"
#include "text/Text.h"

namespace quenlit {

// Checks `lspSL` with the exclusion list `jogaiSL` (sorted, as loadJogaiList gives it)
// and writes the findings into `pane`; the callers clear the pane and bracket the call
// with its update. When nothing is found and `msgFlag` is set, the pane gets
// "■変数チェック" and "未使用変数、未宣言変数はありません．".
void notUusedVariable(const TextList& lspSL, const TextList& jogaiSL, ResultPane& pane, ProgressBar& progress,
                      bool msgFlag);

// The findings of the check as data, block by block in the order the pane shows them.
enum class VarFinding {
  kDuplicateLocal,     // "[重複]": each local that a later local repeats
  kGlobal,             // "[グローバル]"
  kUnusedArg,          // "[未使用]", arguments
  kUnusedLocal,        // "[未使用]", locals
  kArgAndLocal,        // "[引数重複]"
  kGlobalInSub,        // "[サブ関数内でグローバル]"
  kGlobalBeforeAll,    // words before the first definition
  kGlobalAfterAll,     // words after the last definition
};

// The label the pane puts over the words of `kind`, e.g. "[未使用]".
TextView varFindingLabel(VarFinding kind);

struct VarSection {
  VarFinding kind;
  TextList words;  // in the pane's order
};

struct VarBlock {
  enum Kind { kBeforeAll, kDefun, kNested, kAfterAll } kind = kDefun;
  int startLine = 0, startCol = 0;  // 0-based; the outside blocks: the line their header names, - 1
  Text name, parent;                // parent: of a nested definition, the enclosing record's name
  TextList args, locals;
  std::vector<VarSection> sections;  // never empty
};

// The check on code lines and a function table already built (either indent).
std::vector<VarBlock> checkVariables(const TextList& codeLines, const TextList& table, const TextList& jogaiSL);

// The pane lines of the blocks, as notUusedVariable writes them (without the
// nothing-found lines).
void writeVariableBlocks(const std::vector<VarBlock>& blocks, ResultPane& pane);

}  // namespace quenlit
