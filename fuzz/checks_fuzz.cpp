// The three checks (variables, parentheses, functions and usage) on any text.
#include <cstdint>
#include <cstdlib>

#include "pane/ResultPane.h"
#include "checks/BuiltinList.h"
#include "checks/ExclusionList.h"
#include "checks/FunctionCheck.h"
#include "checks/ParenCheck.h"
#include "checks/VariableCheck.h"
#include "text/Encoding.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace quenlit;
  auto src = splitLines(decodeAuto(std::string_view(reinterpret_cast<const char*>(data), size), 932).text);
  static const TextList jogai = builtinJogaiWords();
  static const BuiltinList builtins = parseBuiltinList(u"setq\nprinc\ncar\ncdr\nlist\t(list ...)\n");
  NullProgress bar;
  MemoryPane vars;
  notUusedVariable(src, jogai, vars, bar, true);
  if (vars.lineCount() == 0) std::abort();  // findings or the "nothing found" lines, never silence
  MemoryPane parens;
  (void)runParenCheck(src, parens, bar);
  MemoryPane funcs;
  runFunctionCheck(src, builtins, funcs, bar);
  if (bar.position() != 0) std::abort();  // every pass hands the bar back at 0
  return 0;
}
