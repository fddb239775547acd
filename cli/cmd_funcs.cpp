#include "Commands.h"
#include "app/ResultPane.h"
#include "checks/BuiltinList.h"
#include "checks/FunctionCheck.h"
#include "text/Encoding.h"

namespace quenlit::cli {

int cmdFuncs(Context& ctx) {
  std::string file, builtinsFile;
  bool builtinsGiven = false;
  for (size_t i = 0; i < ctx.args.size(); ++i) {
    bool taken;
    if (!takeAnsiOption(ctx, i, taken)) return kUsage;
    if (taken) continue;
    if (ctx.args[i] == "--builtins") {
      if (i + 1 >= ctx.args.size()) return usageError(ctx, "--builtins needs a FILE");
      if (builtinsGiven) return usageError(ctx, "--builtins given twice");
      builtinsGiven = true;
      builtinsFile = ctx.args[++i];
      continue;
    }
    if (ctx.args[i].size() > 1 && ctx.args[i][0] == '-') return usageError(ctx, "unknown option: " + ctx.args[i]);
    if (!file.empty()) return usageError(ctx, "funcs takes one FILE");
    file = ctx.args[i];
  }
  if (file.empty()) return usageError(ctx, "funcs needs a FILE");

  // Read after all options, so that --ansi also decodes a list without a mark.
  BuiltinListFile builtins;
  if (builtinsGiven) {
    builtins = readBuiltinList(pathFromArg(builtinsFile), ansiCodePage());
    if (!builtins.found || !builtins.error.empty()) {
      ctx.err << "quenlit: cannot read " << builtinsFile << ": "
              << (builtins.found ? builtins.error : std::make_error_code(std::errc::no_such_file_or_directory).message())
              << "\n";
      return kUsage;
    }
  } else {
    // A missing list beside the program is the empty list, as in the window.
    builtins = loadBuiltinList(ctx.exeDir);
    if (!builtins.error.empty()) {
      const std::u8string where = (ctx.exeDir / kBuiltinListFileName).u8string();
      ctx.err << "quenlit: warning: cannot read " << std::string(where.begin(), where.end()) << ": " << builtins.error
              << "; no name counts as built-in\n";
    }
  }

  SourceLines src;
  if (!loadSource(ctx, file, src)) return kUsage;
  MemoryPane pane;
  NullProgress progress;
  runFunctionCheck(src.lines, builtins.list, pane, progress);
  printLines(ctx.out, pane.all());
  return kOk;
}

}  // namespace quenlit::cli
