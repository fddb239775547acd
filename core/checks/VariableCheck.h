// The variable check: per top-level and nested definition the undeclared (global),
// unused, duplicated and argument-and-local names, and the words outside all
// definitions, written into the result pane.
#pragma once

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

}  // namespace quenlit
