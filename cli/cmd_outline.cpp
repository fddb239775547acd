#include "Args.h"
#include "Commands.h"
#include "source/Outline.h"

namespace quenlit::cli {

int cmdOutline(Context& ctx) {
  Args a;
  if (!parseArgs(ctx, {"outline", "[--ansi CP] FILE", {}}, a)) return kUsage;
  SourceLines src;
  if (!loadSource(ctx, a.positional[0], src)) return kUsage;
  for (const auto& row : makeOutlineRows(src.lines)) {
    Text line(size_t(row.level) * 2, u' ');
    line += row.text;
    if (row.level > 0) line += u"\t" + toText(row.line);
    printLine(ctx.out, line);
  }
  return kOk;
}

}  // namespace quenlit::cli
