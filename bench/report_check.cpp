// Every check of one file as `quenlit check` runs it: one set of code lines and one
// function table handed to every check.
#include "Bench.h"
#include "checks/BuiltinList.h"
#include "checks/ExclusionList.h"
#include "checks/FileCheck.h"

namespace quenlit::bench {

namespace {

const Register kCheck("check (all)", [](const SourceLines& s) {
  static const TextList jogai = mergeJogaiLines(builtinJogaiWords(), {});
  static const BuiltinList builtins =
      readBuiltinList(std::filesystem::path(QUENLIT_SOURCE_ROOT) / "data" / kBuiltinListFileName, 932).list;
  FileCheck file = checkSource(s.lines, {jogai, builtins, Lang::kEnglish});
  finishAlone(file, Lang::kEnglish);
  return file.findings.size();
});

}  // namespace

}  // namespace quenlit::bench
