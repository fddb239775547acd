#include "Args.h"

#include "text/Encoding.h"

namespace quenlit::cli {

namespace {

bool applyAnsi(Context& ctx, const std::string& v) {
  const auto n = v.size() <= 5 ? parseDecimal(fromAscii(v), false) : std::nullopt;
  const unsigned cp = n ? unsigned(*n) : 0;
  if (!n || !isKnownCodePage(cp)) {
    usageError(ctx, "unknown code page: " + v);
    return false;
  }
  setDefaultAnsiCodePage(cp);
  return true;
}

}  // namespace

std::optional<std::string> Args::value(const std::string& option) const {
  auto it = values.find(option);
  if (it == values.end()) return std::nullopt;
  return it->second;
}

bool parseArgs(Context& ctx, const CommandSyntax& syntax, Args& out) {
  std::vector<OptionSyntax> options = syntax.options;
  options.push_back({"--ansi", true});
  bool optionsDone = false;
  for (size_t i = 0; i < ctx.args.size(); ++i) {
    const std::string& a = ctx.args[i];
    if (!optionsDone && a == "--") {
      optionsDone = true;
      continue;
    }
    if (optionsDone || a.size() < 2 || a[0] != '-') {
      out.positional.push_back(a);
      continue;
    }
    const OptionSyntax* option = nullptr;
    for (const auto& o : options)
      if (o.name == a) option = &o;
    if (!option) {
      usageError(ctx, "unknown option: " + a);
      return false;
    }
    if (out.has(a)) {
      usageError(ctx, a + " given twice");
      return false;
    }
    if (!option->takesValue) {
      out.flags.insert(a);
      continue;
    }
    if (i + 1 >= ctx.args.size()) {
      usageError(ctx, a + " needs a value");
      return false;
    }
    out.values[a] = ctx.args[++i];
    if (a == "--ansi" && !applyAnsi(ctx, out.values[a])) return false;
  }
  if (out.positional.size() < syntax.minPositional || out.positional.size() > syntax.maxPositional) {
    usageError(ctx, "usage: quenlit " + syntax.name + " " + syntax.synopsis);
    return false;
  }
  return true;
}

bool parseLineArg(const std::string& s, int& line) {
  const auto v = s.size() <= 9 ? parseDecimal(fromAscii(s), false) : std::nullopt;
  if (!v || *v < 1) return false;
  line = int(*v);
  return true;
}

std::optional<size_t> rowAtLine(const std::vector<OutlineRow>& rows, int line) {
  for (size_t k = 0; k < rows.size(); ++k)
    if (rows[k].level >= 1 && rows[k].line == line) return k;
  return std::nullopt;
}

}  // namespace quenlit::cli
