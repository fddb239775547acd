#include "Commands.h"
#include "source/Outline.h"

namespace quenlit::cli {

int cmdOutline(Context& ctx) {
  std::string file;
  for (size_t i = 0; i < ctx.args.size(); ++i) {
    bool taken;
    if (!takeAnsiOption(ctx, i, taken)) return kUsage;
    if (taken) continue;
    if (ctx.args[i].size() > 1 && ctx.args[i][0] == '-') return usageError(ctx, "unknown option: " + ctx.args[i]);
    if (!file.empty()) return usageError(ctx, "outline takes one FILE");
    file = ctx.args[i];
  }
  if (file.empty()) return usageError(ctx, "outline needs a FILE");
  SourceLines src;
  if (!loadSource(ctx, file, src)) return kUsage;
  for (const auto& row : makeOutlineRows(src.lines)) {
    Text line(size_t(row.level) * 2, u' ');
    line += row.text;
    if (row.level > 0) line += u"\t" + toText(row.line);
    printLine(ctx.out, line);
  }
  return kOk;
}

}  // namespace quenlit::cli
