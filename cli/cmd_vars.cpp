#include "Args.h"
#include "Commands.h"
#include "checks/ExclusionList.h"
#include "checks/VariableCheck.h"
#include "pane/ResultPane.h"

namespace quenlit::cli {

int cmdVars(Context& ctx) {
  Args a;
  if (!parseArgs(ctx, {"vars", "[--exclude FILE] [--ansi CP] FILE", {{"--exclude", true}}}, a)) return kUsage;

  // Read after the options, so that --ansi also applies to an exclusion file without a mark.
  JogaiLoad jogai;
  if (auto exclude = a.value("--exclude")) {
    const auto path = pathFromArg(*exclude);
    std::error_code ec;
    if (!std::filesystem::exists(path, ec)) {
      ctx.err << "quenlit: cannot read " << *exclude << ": no such file\n";
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
  if (!loadSource(ctx, a.positional[0], src)) return kUsage;
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
