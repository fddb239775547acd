#include "Args.h"
#include "Commands.h"
#include "reports/Catalog.h"

namespace quenlit::cli {

int cmdCatalog(Context& ctx) {
  Args a;
  if (!parseArgs(ctx, {"catalog", "[--ansi CP] FILE", {}}, a)) return kUsage;
  SourceLines src;
  if (!loadSource(ctx, a.positional[0], src)) return kUsage;
  MemoryPane pane;
  NullProgress bar;
  makeLspIndex(src.lines, fromUtf8Lenient(a.positional[0]), pane, bar);
  printLines(ctx.out, pane.all());
  return kOk;
}

}  // namespace quenlit::cli
