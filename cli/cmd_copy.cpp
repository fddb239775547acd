#include "Commands.h"
#include "ReportArgs.h"
#include "reports/FunctionCopy.h"

namespace quenlit::cli {

// What the outline's copy items put on the clipboard for the row of that line:
// the whole definition, or with --name its call form.
int cmdCopy(Context& ctx) {
  ReportArgs a;
  if (!parseReportArgs(ctx, "copy", {"--name"}, 2, "[--name] [--ansi CP] FILE LINE", a)) return kUsage;
  int line = 0;
  if (!parseLineArg(a.positional[1], line)) return usageError(ctx, "LINE must be a line number from 1: " + a.positional[1]);
  SourceLines src;
  if (!loadSource(ctx, a.positional[0], src)) return kUsage;
  const auto rows = makeOutlineRows(src.lines);
  size_t index = rows.size();
  for (size_t k = 0; k < rows.size(); ++k)
    if (rows[k].level >= 1 && rows[k].line == line) {
      index = k;
      break;
    }
  if (index == rows.size()) {
    ctx.err << "quenlit: no function starts at line " << line << "\n";
    return kFailed;
  }
  if (a.flags.count("--name")) {
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
