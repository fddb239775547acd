#include "ReportArgs.h"

namespace quenlit::cli {

bool parseReportArgs(Context& ctx, const std::string& command, const std::set<std::string>& allowed, size_t count,
                     const std::string& synopsis, ReportArgs& out) {
  bool optionsDone = false;
  for (size_t i = 0; i < ctx.args.size(); ++i) {
    const std::string& a = ctx.args[i];
    if (!optionsDone) {
      if (a == "--") {
        optionsDone = true;
        continue;
      }
      bool taken = false;
      if (!takeAnsiOption(ctx, i, taken)) return false;
      if (taken) continue;
      if (allowed.count(a)) {
        out.flags.insert(a);
        continue;
      }
      if (a.size() > 1 && a[0] == '-') {
        usageError(ctx, "unknown option: " + a);
        return false;
      }
    }
    out.positional.push_back(a);
  }
  if (out.positional.size() != count) {
    usageError(ctx, "usage: quenlit " + command + " " + synopsis);
    return false;
  }
  return true;
}

bool parseLineArg(const std::string& s, int& line) {
  if (s.empty() || s.size() > 9) return false;
  int v = 0;
  for (char c : s) {
    if (c < '0' || c > '9') return false;
    v = v * 10 + (c - '0');
  }
  if (v < 1) return false;
  line = v;
  return true;
}

}  // namespace quenlit::cli
