#include "Args.h"
#include "Commands.h"
#include "reports/Description.h"

namespace quenlit::cli {

// The description a click on the outline row of that line writes; nothing when
// no row stands on the line.
int cmdDescribe(Context& ctx) {
  Args a;
  if (!parseArgs(ctx, {"describe", "[--ansi CP] FILE LINE", {}, 2, 2}, a)) return kUsage;
  int line = 0;
  if (!parseLineArg(a.positional[1], line)) return usageError(ctx, "LINE must be a line number from 1: " + a.positional[1]);
  SourceLines src;
  if (!loadSource(ctx, a.positional[0], src)) return kUsage;
  const auto rows = makeOutlineRows(src.lines);
  if (auto index = rowAtLine(rows, line)) {
    MemoryPane pane;
    writeFunctionDescription(pane, src.lines, rows[*index]);
    printLines(ctx.out, pane.all());
  }
  return kOk;
}

}  // namespace quenlit::cli
