#include "Commands.h"
#include "Lists.h"
#include "checks/FunctionCheck.h"
#include "pane/ResultPane.h"

namespace quenlit::cli {

int cmdFuncs(Context& ctx) {
  Args a;
  if (!parseArgs(ctx, {"funcs", "[--builtins LIST] [--ansi CP] FILE", {{"--builtins", true}}}, a)) return kUsage;
  BuiltinListFile builtins;
  if (!loadBuiltinNames(ctx, a, builtins)) return kUsage;

  SourceLines src;
  if (!loadSource(ctx, a.positional[0], src)) return kUsage;
  MemoryPane pane;
  NullProgress progress;
  runFunctionCheck(src.lines, builtins.list, pane, progress);
  printLines(ctx.out, pane.all());
  return kOk;
}

}  // namespace quenlit::cli
