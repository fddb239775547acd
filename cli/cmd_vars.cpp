#include "Commands.h"
#include "Lists.h"
#include "checks/VariableCheck.h"
#include "pane/ResultPane.h"

namespace quenlit::cli {

int cmdVars(Context& ctx) {
  Args a;
  if (!parseArgs(ctx, {"vars", "[--exclude FILE] [--ansi CP] FILE", {{"--exclude", true}}}, a)) return kUsage;
  JogaiLoad jogai;
  if (!loadExclusionWords(ctx, a, jogai)) return kUsage;

  SourceLines src;
  if (!loadSource(ctx, a.positional[0], src)) return kUsage;
  MemoryPane pane;
  NullProgress progress;
  {
    PaneUpdate update(pane);
    notUusedVariable(src.lines, jogai.list, pane, progress, true);
  }
  printLines(ctx.out, pane.all());
  return kOk;
}

}  // namespace quenlit::cli
