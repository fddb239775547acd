// Argument parsing shared by the commands.
#pragma once

#include <set>
#include <string>
#include <vector>

#include "Cli.h"

namespace quenlit::cli {

struct ReportArgs {
  std::set<std::string> flags;         // the flags given, from those allowed
  std::vector<std::string> positional;
};

// Takes "--ansi CP", the allowed flags and exactly `count` positional arguments
// ("--" ends the options, so a search text may begin with "-"). On a usage error
// prints it and returns false.
bool parseReportArgs(Context& ctx, const std::string& command, const std::set<std::string>& allowed, size_t count,
                     const std::string& synopsis, ReportArgs& out);

// A 1-based line number: digits only, at least 1.
bool parseLineArg(const std::string& s, int& line);

}  // namespace quenlit::cli
