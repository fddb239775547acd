#include "Commands.h"
#include "ReportArgs.h"
#include "reports/Description.h"

namespace quenlit::cli {

// The description a click on the outline row of that line writes; nothing when
// no row stands on the line.
int cmdDescribe(Context& ctx) {
  ReportArgs a;
  if (!parseReportArgs(ctx, "describe", {}, 2, "[--ansi CP] FILE LINE", a)) return kUsage;
  int line = 0;
  if (!parseLineArg(a.positional[1], line)) return usageError(ctx, "LINE must be a line number from 1: " + a.positional[1]);
  SourceLines src;
  if (!loadSource(ctx, a.positional[0], src)) return kUsage;
  for (const auto& row : makeOutlineRows(src.lines)) {
    if (row.level < 1 || row.line != line) continue;
    MemoryPane pane;
    writeFunctionDescription(pane, src.lines, row);
    printLines(ctx.out, pane.all());
    break;
  }
  return kOk;
}

}  // namespace quenlit::cli
