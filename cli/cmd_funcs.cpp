#include "Args.h"
#include "Commands.h"
#include "checks/BuiltinList.h"
#include "checks/FunctionCheck.h"
#include "pane/ResultPane.h"
#include "text/Encoding.h"

namespace quenlit::cli {

int cmdFuncs(Context& ctx) {
  Args a;
  if (!parseArgs(ctx, {"funcs", "[--builtins LIST] [--ansi CP] FILE", {{"--builtins", true}}}, a)) return kUsage;

  // Read after all options, so that --ansi also decodes a list without a mark.
  BuiltinListFile builtins;
  if (auto list = a.value("--builtins")) {
    builtins = readBuiltinList(pathFromArg(*list), ansiCodePage());
    if (!builtins.found || !builtins.error.empty()) {
      ctx.err << "quenlit: cannot read " << *list << ": "
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
  if (!loadSource(ctx, a.positional[0], src)) return kUsage;
  MemoryPane pane;
  NullProgress progress;
  runFunctionCheck(src.lines, builtins.list, pane, progress);
  printLines(ctx.out, pane.all());
  return kOk;
}

}  // namespace quenlit::cli
