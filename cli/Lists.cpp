#include "Lists.h"

#include "text/Encoding.h"

namespace quenlit::cli {

namespace {

std::string cannotRead(const std::filesystem::path& file, const FileError& error) {
  const std::u8string name = file.u8string();
  return "cannot read " + std::string(name.begin(), name.end()) + ": " + error.reason;
}

}  // namespace

// Both are read after all options, so that --ansi also decodes a list without a mark.

bool loadExclusionWords(Context& ctx, const Args& args, JogaiLoad& jogai) {
  if (auto exclude = args.value("--exclude")) {
    const auto path = pathFromArg(*exclude);
    std::error_code ec;
    if (!std::filesystem::exists(path, ec)) {
      ctx.err << "quenlit: cannot read " << *exclude << ": no such file\n";
      return false;
    }
    jogai = loadJogaiListFile(path);
    if (!jogai.error.reason.empty()) {
      ctx.err << "quenlit: " << cannotRead(path, jogai.error) << "\n";
      return false;
    }
    return true;
  }
  // Like the window: an unreadable file beside the program leaves the built-in words.
  jogai = loadJogaiList(ctx.exeDir);
  if (!jogai.error.reason.empty())
    ctx.err << "quenlit: " << cannotRead(ctx.exeDir / kJogaiFileName, jogai.error)
            << "; using the built-in exclusion words only\n";
  return true;
}

bool loadBuiltinNames(Context& ctx, const Args& args, BuiltinListFile& builtins) {
  if (auto list = args.value("--builtins")) {
    builtins = readBuiltinList(pathFromArg(*list), ansiCodePage());
    if (!builtins.found || !builtins.error.reason.empty()) {
      ctx.err << "quenlit: cannot read " << *list << ": "
              << (builtins.found ? builtins.error.reason : std::make_error_code(std::errc::no_such_file_or_directory).message())
              << "\n";
      return false;
    }
    return true;
  }
  // A missing list beside the program is the empty list, as in the window.
  builtins = loadBuiltinList(ctx.exeDir);
  if (!builtins.error.reason.empty()) {
    ctx.err << "quenlit: warning: " << cannotRead(ctx.exeDir / kBuiltinListFileName, builtins.error)
            << "; no name counts as built-in\n";
  }
  return true;
}

}  // namespace quenlit::cli
