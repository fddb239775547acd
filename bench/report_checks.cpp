// The parenthesis check and the function check, as the two buttons run them.
#include "Bench.h"
#include "pane/ResultPane.h"
#include "checks/BuiltinList.h"
#include "checks/FunctionCheck.h"
#include "checks/ParenCheck.h"

namespace quenlit::bench {

namespace {

const BuiltinList& shippedBuiltins() {
  static const BuiltinList list = readBuiltinList(std::filesystem::path(QUENLIT_SOURCE_ROOT) / "data" / kBuiltinListFileName, 932).list;
  return list;
}

const Register kParens("parens", [](const SourceLines& s) {
  MemoryPane pane;
  NullProgress progress;
  auto result = runParenCheck(s.lines, pane, progress);
  return pane.lineCount() + (result.message ? result.message->plainText.size() : 0);
});

const Register kFuncs("funcs", [](const SourceLines& s) {
  MemoryPane pane;
  NullProgress progress;
  runFunctionCheck(s.lines, shippedBuiltins(), pane, progress);
  return pane.lineCount();
});

}  // namespace

}  // namespace quenlit::bench
