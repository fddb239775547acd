// One function per `quenlit` command; each lives in its own cmd_*.cpp file.
#pragma once

#include "Cli.h"

namespace quenlit::cli {

int cmdOutline(Context& ctx);
int cmdDescribe(Context& ctx);
int cmdCatalog(Context& ctx);
int cmdSearch(Context& ctx);
int cmdCopy(Context& ctx);
int cmdVars(Context& ctx);
int cmdParens(Context& ctx);
int cmdFuncs(Context& ctx);
int cmdCheck(Context& ctx);
int cmdLsp(Context& ctx);

}  // namespace quenlit::cli
