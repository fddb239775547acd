// The one option parser of every command.
#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "Cli.h"
#include "source/Outline.h"

namespace quenlit::cli {

struct OptionSyntax {
  std::string name;         // "--exclude"
  bool takesValue = false;  // "--exclude FILE"
};

struct CommandSyntax {
  std::string name;      // "vars"
  std::string synopsis;  // what follows the name in the usage line
  std::vector<OptionSyntax> options;  // besides "--ansi CP", which every command takes
  size_t minPositional = 1, maxPositional = 1;
};

struct Args {
  std::set<std::string> flags;                  // options without a value that were given
  std::map<std::string, std::string> values;    // options with a value
  std::vector<std::string> positional;

  bool has(const std::string& option) const { return flags.count(option) || values.count(option); }
  std::optional<std::string> value(const std::string& option) const;
};

// Applies "--ansi CP" at once (so it decodes every file read afterwards), takes
// the command's options, each at most once, and the positional arguments ("--"
// ends the options, so a search text may begin with "-"). On a usage error it
// prints the error and returns false.
bool parseArgs(Context& ctx, const CommandSyntax& syntax, Args& out);

// A 1-based line number: digits only, at least 1.
bool parseLineArg(const std::string& s, int& line);

// The outline row of the definition that starts on the 1-based `line`; nothing
// when no row starts there.
std::optional<size_t> rowAtLine(const std::vector<OutlineRow>& rows, int line);

}  // namespace quenlit::cli
