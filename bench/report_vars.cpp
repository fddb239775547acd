// The variable check on the benchmark inputs: as the window runs it after every load,
// and with the whole input wrapped in one definition, so that a single huge function
// (with every generated defun nested in it) shows whether the cost per definition
// stays proportional to its size.
#include <map>

#include "Bench.h"
#include "pane/ResultPane.h"
#include "checks/ExclusionList.h"
#include "checks/VariableCheck.h"

namespace quenlit::bench {

namespace {

const TextList& jogai() {
  static const TextList list = mergeJogaiLines(builtinJogaiWords(), {});
  return list;
}

size_t runVars(const TextList& lines) {
  MemoryPane pane;
  NullProgress bar;
  notUusedVariable(lines, jogai(), pane, bar, true);
  return pane.lineCount();
}

const Register kVars("vars", [](const SourceLines& s) { return runVars(s.lines); });

const Register kVarsOneDefun("vars one-defun", [](const SourceLines& s) {
  // Built once per input, outside the timing of later runs.
  static std::map<const SourceLines*, std::pair<size_t, TextList>> wrapped;
  auto& w = wrapped[&s];
  if (w.first != s.lines.size() || w.second.size() != s.lines.size() + 2) {
    w.first = s.lines.size();
    w.second.clear();
    w.second.push_back(u"(defun c:all (/ pt ent lst)");
    w.second.insert(w.second.end(), s.lines.begin(), s.lines.end());
    w.second.push_back(u")");
  }
  return runVars(w.second);
});

}  // namespace

}  // namespace quenlit::bench
