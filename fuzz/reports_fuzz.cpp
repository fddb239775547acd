// Catalog, description, function copy and result-pane navigation on any text.
#include <cstdint>
#include <cstdlib>

#include "pane/ResultPane.h"
#include "reports/Catalog.h"
#include "reports/Description.h"
#include "reports/FunctionCopy.h"
#include "reports/PaneNavigation.h"
#include "source/Outline.h"
#include "text/Encoding.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace quenlit;
  auto src = splitLines(decodeAuto(std::string_view(reinterpret_cast<const char*>(data), size), 932).text);
  NullProgress bar;
  MemoryPane catalog;
  CatalogClock clock;
  clock.now = [] { return std::time_t(0); };
  clock.format = [](std::time_t) { return Text(u"2026/01/01 0:00:00"); };
  makeLspIndex(src, u"fuzz.lsp", catalog, bar, clock);
  auto outline = makeOutlineRows(src);
  const size_t rows = std::min<size_t>(outline.size(), 64);
  for (size_t i = 0; i < rows; ++i) {
    MemoryPane desc;
    writeFunctionDescription(desc, src, outline[i]);
    (void)functionCallText(outline[i]);
    if (auto copy = copyFunctionRange(src, outline, i, bar)) (void)copy;
  }
  // Double-clicks on the catalog's own lines, at a few columns each.
  const size_t lines = std::min<size_t>(catalog.lineCount(), 64);
  for (size_t l = 0; l < lines; ++l) {
    for (size_t col : {size_t(0), size_t(3), size_t(7), catalog.line(l).size()}) {
      PaneSelection sel{l, col, col % 3};
      auto outcome = resolvePaneDoubleClick(catalog, sel, true, outline, src, bar);
      (void)outcome;
    }
  }
  return 0;
}
