// The word lists that several commands read: the exclusion words of the variable
// check and the built-in function names of the function check.
#pragma once

#include "Args.h"
#include "checks/BuiltinList.h"
#include "checks/ExclusionList.h"

namespace quenlit::cli {

// From --exclude FILE (which must be readable), else jogaiList.txt beside the
// program (an unreadable one leaves the built-in words, with a message). False
// after printing why, when the named file cannot be read.
bool loadExclusionWords(Context& ctx, const Args& args, JogaiLoad& jogai);

// From --builtins LIST (which must be readable), else AutoLispFuncList.txt beside
// the program (a missing one is the empty list). False after printing why.
bool loadBuiltinNames(Context& ctx, const Args& args, BuiltinListFile& builtins);

}  // namespace quenlit::cli
