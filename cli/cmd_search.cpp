#include "Args.h"
#include "Commands.h"
#include "reports/LineDeletion.h"
#include "reports/LineSearch.h"

namespace quenlit::cli {

// TEXT is read as typed into the search box. With --delete the found lines are
// removed from FILE (after a FILE.bak copy) without asking, and the result lines
// of the deleted lines are printed.
int cmdSearch(Context& ctx) {
  Args a;
  if (!parseArgs(ctx, {"search", "[--delete] [--ordered] [--ansi CP] TEXT FILE", {{"--ordered"}, {"--delete"}}, 2, 2},
                 a))
    return kUsage;
  const bool ordered = a.has("--ordered");
  const Text text = fromUtf8Lenient(a.positional[0]);
  const std::string& file = a.positional[1];
  SourceLines src;
  if (!loadSource(ctx, file, src)) return kUsage;
  MemoryPane pane;
  runLineSearch(src.lines, text, ordered, pane);
  if (!a.has("--delete")) {
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
  if (result.refusal == RewriteCheck::kLossy) {
    ctx.err << "quenlit: " << file
            << ": not written: its bytes do not come back unchanged from the encoding it was read in, so "
               "rewriting it would change lines that were not deleted\n";
    return kFailed;
  }
  if (result.refusal != RewriteCheck::kSafe) {
    ctx.err << "quenlit: " << file << ": not written: the file changed while it was being read\n";
    return kFailed;
  }
  if (!result.ok) {
    ctx.err << "quenlit: cannot write " << toUtf8(result.message) << "\n";
    return kFailed;
  }
  printLines(ctx.out, result.deleted);
  return kOk;
}

}  // namespace quenlit::cli
