#include "Args.h"
#include "Commands.h"
#include "reports/FunctionCopy.h"

namespace quenlit::cli {

// What the outline's copy items put on the clipboard for the row of that line:
// the whole definition, or with --name its call form.
int cmdCopy(Context& ctx) {
  Args a;
  if (!parseArgs(ctx, {"copy", "[--name] [--ansi CP] FILE LINE", {{"--name"}}, 2, 2}, a)) return kUsage;
  int line = 0;
  if (!parseLineArg(a.positional[1], line)) return usageError(ctx, "LINE must be a line number from 1: " + a.positional[1]);
  SourceLines src;
  if (!loadSource(ctx, a.positional[0], src)) return kUsage;
  const auto rows = makeOutlineRows(src.lines);
  const auto found = rowAtLine(rows, line);
  if (!found) {
    ctx.err << "quenlit: no function starts at line " << line << "\n";
    return kFailed;
  }
  const size_t index = *found;
  if (a.has("--name")) {
    printLine(ctx.out, *functionCallText(rows[index]));
    return kOk;
  }
  NullProgress bar;
  auto copy = copyFunctionRange(src.lines, rows, index, bar);
  if (!copy || !copy->ok) {
    ctx.err << "quenlit: " << toUtf8(copy ? copy->message : Text(kRangeFailedMessage)) << "\n";
    return kFailed;
  }
  // The clipboard's CR LF become the command line's LF.
  ctx.out << toUtf8(replaceAll(copy->clipboard, u"\r\n", u"\n"));
  return kOk;
}

}  // namespace quenlit::cli
