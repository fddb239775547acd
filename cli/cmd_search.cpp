#include "Commands.h"
#include "ReportArgs.h"
#include "reports/LineDeletion.h"
#include "reports/LineSearch.h"

namespace quenlit::cli {

// TEXT is read as typed into the search box. With --delete the found lines are
// removed from FILE (after a FILE.bak copy) without asking, and the result lines
// of the deleted lines are printed.
int cmdSearch(Context& ctx) {
  ReportArgs a;
  if (!parseReportArgs(ctx, "search", {"--ordered", "--delete"}, 2, "[--delete] [--ordered] [--ansi CP] TEXT FILE", a))
    return kUsage;
  const bool ordered = a.flags.count("--ordered") > 0;
  const Text text = fromUtf8Lenient(a.positional[0]);
  const std::string& file = a.positional[1];
  SourceLines src;
  if (!loadSource(ctx, file, src)) return kUsage;
  MemoryPane pane;
  runLineSearch(src.lines, text, ordered, pane);
  if (!a.flags.count("--delete")) {
    printLines(ctx.out, pane.all());
    return kOk;
  }
  auto check = checkLineDeletion(text, pane);
  if (check.step == DeletionCheck::kNothing) return kOk;
  if (check.step == DeletionCheck::kRefused) {
    ctx.err << "quenlit: " << toUtf8(check.message) << "\n";
    return kFailed;
  }
  auto result = runLineDeletion(src, pathFromArg(file), text, ordered, pane);
  if (!result.ok) {
    ctx.err << "quenlit: cannot write " << toUtf8(result.message) << "\n";
    return kFailed;
  }
  printLines(ctx.out, result.deleted);
  return kOk;
}

}  // namespace quenlit::cli
