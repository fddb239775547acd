#include "Commands.h"
#include "ReportArgs.h"
#include "reports/Catalog.h"

namespace quenlit::cli {

int cmdCatalog(Context& ctx) {
  ReportArgs a;
  if (!parseReportArgs(ctx, "catalog", {}, 1, "[--ansi CP] FILE", a)) return kUsage;
  SourceLines src;
  if (!loadSource(ctx, a.positional[0], src)) return kUsage;
  MemoryPane pane;
  NullProgress bar;
  makeLspIndex(src.lines, fromUtf8Lenient(a.positional[0]), pane, bar);
  printLines(ctx.out, pane.all());
  return kOk;
}

}  // namespace quenlit::cli
