// The catalog and the line search on the benchmark inputs.
#include "Bench.h"
#include "pane/ResultPane.h"
#include "reports/Catalog.h"
#include "reports/LineSearch.h"

namespace quenlit::bench {
namespace {

const Register kCatalog("catalog", [](const SourceLines& s) {
  MemoryPane pane;
  NullProgress bar;
  makeLspIndex(s.lines, u"bench.lsp", pane, bar);
  return pane.lineCount();
});

// Three positive terms and a negative one: every term is looked for in every line.
const Register kSearch("search", [](const SourceLines& s) {
  return searchLines(s.lines, u"setq x !zzz \"(\"", false).size();
});

const Register kSearchOrdered("search ordered", [](const SourceLines& s) {
  return searchLines(s.lines, u"( setq x", true).size();
});

}  // namespace
}  // namespace quenlit::bench
