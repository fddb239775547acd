#include "Commands.h"
#include "app/ResultPane.h"
#include "checks/ExclusionList.h"
#include "checks/VariableCheck.h"

namespace quenlit::cli {

int cmdVars(Context& ctx) {
  std::string file, exclude;
  bool excludeGiven = false;
  for (size_t i = 0; i < ctx.args.size(); ++i) {
    bool taken;
    if (!takeAnsiOption(ctx, i, taken)) return kUsage;
    if (taken) continue;
    if (ctx.args[i] == "--exclude") {
      if (i + 1 >= ctx.args.size()) return usageError(ctx, "--exclude needs a FILE");
      exclude = ctx.args[++i];
      excludeGiven = true;
      continue;
    }
    if (ctx.args[i].size() > 1 && ctx.args[i][0] == '-') return usageError(ctx, "unknown option: " + ctx.args[i]);
    if (!file.empty()) return usageError(ctx, "vars takes one FILE");
    file = ctx.args[i];
  }
  if (file.empty()) return usageError(ctx, "vars needs a FILE");

  // Read after the options, so that --ansi also applies to an exclusion file without a mark.
  JogaiLoad jogai;
  if (excludeGiven) {
    const auto path = pathFromArg(exclude);
    std::error_code ec;
    if (!std::filesystem::exists(path, ec)) {
      ctx.err << "quenlit: cannot read " << exclude << ": no such file\n";
      return kUsage;
    }
    jogai = loadJogaiListFile(path);
    if (!jogai.error.empty()) {
      ctx.err << "quenlit: " << jogai.error << "\n";
      return kUsage;
    }
  } else {
    // Like the window: an unreadable file beside the program leaves the built-in words.
    jogai = loadJogaiList(ctx.exeDir);
    if (!jogai.error.empty()) ctx.err << "quenlit: " << jogai.error << "; using the built-in exclusion words only\n";
  }

  SourceLines src;
  if (!loadSource(ctx, file, src)) return kUsage;
  MemoryPane pane;
  NullProgress progress;
  {
    PaneUpdate update(pane);
    notUusedVariable(src.lines, jogai.list, pane, progress, true);
  }
  printLines(ctx.out, pane.all());
  return kOk;
}

}  // namespace quenlit::cli
