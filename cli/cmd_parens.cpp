#include "Commands.h"
#include "app/ResultPane.h"
#include "checks/ParenCheck.h"

namespace quenlit::cli {

int cmdParens(Context& ctx) {
  std::string file;
  for (size_t i = 0; i < ctx.args.size(); ++i) {
    bool taken;
    if (!takeAnsiOption(ctx, i, taken)) return kUsage;
    if (taken) continue;
    if (ctx.args[i].size() > 1 && ctx.args[i][0] == '-') return usageError(ctx, "unknown option: " + ctx.args[i]);
    if (!file.empty()) return usageError(ctx, "parens takes one FILE");
    file = ctx.args[i];
  }
  if (file.empty()) return usageError(ctx, "parens needs a FILE");
  SourceLines src;
  if (!loadSource(ctx, file, src)) return kUsage;
  MemoryPane pane;
  NullProgress progress;
  const ParenCheckResult result = runParenCheck(src.lines, pane, progress);
  printLines(ctx.out, pane.all());
  // Without an editor to jump into, the window shows the plain message.
  if (result.message) {
    const Text& text = result.message->plainText;
    size_t start = 0;
    for (size_t nl = text.find(u'\n'); nl != Text::npos; start = nl + 1, nl = text.find(u'\n', start))
      printLine(ctx.out, TextView(text).substr(start, nl - start));
    printLine(ctx.out, TextView(text).substr(start));
  }
  return kOk;
}

}  // namespace quenlit::cli
