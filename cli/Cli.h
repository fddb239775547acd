// The `quenlit` command line, callable in-process so tests and fuzzers can drive it.
#pragma once

#include <filesystem>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "source/SourceFile.h"
#include "text/Text.h"

namespace quenlit::cli {

struct Context {
  std::vector<std::string> args;  // after the command name, UTF-8
  std::ostream& out;
  std::ostream& err;
  std::filesystem::path exeDir;   // where the files beside the executable are looked for
};

// Runs `quenlit ARGS...` (argv without the program name) and returns the exit code.
int run(const std::vector<std::string>& argv, std::ostream& out, std::ostream& err,
        const std::filesystem::path& exeDir);

// --- helpers for the commands ---

enum Exit { kOk = 0, kFailed = 1, kUsage = 2 };

std::filesystem::path pathFromArg(const std::string& utf8);

// Loads FILE into `lines`; on failure prints "quenlit: cannot read FILE: reason".
bool loadSource(Context& ctx, const std::string& file, SourceLines& lines);

void printLine(std::ostream& out, TextView line);  // UTF-8 and LF
void printLines(std::ostream& out, const TextList& lines);
int usageError(Context& ctx, const std::string& message);

using Command = std::function<int(Context&)>;

}  // namespace quenlit::cli
