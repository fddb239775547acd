#include "Args.h"
#include "Commands.h"
#include "pane/ResultPane.h"
#include "checks/ParenCheck.h"

namespace quenlit::cli {

int cmdParens(Context& ctx) {
  Args a;
  if (!parseArgs(ctx, {"parens", "[--ansi CP] FILE", {}}, a)) return kUsage;
  SourceLines src;
  if (!loadSource(ctx, a.positional[0], src)) return kUsage;
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
