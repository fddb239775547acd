// Code lines, function table, argument lists and outline rows on any text.
#include <cstdint>
#include <cstdlib>

#include "source/CodeLines.h"
#include "source/DefunTable.h"
#include "source/Outline.h"
#include "text/Encoding.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace quenlit;
  auto d = decodeAuto(std::string_view(reinterpret_cast<const char*>(data), size), 932);
  auto src = splitLines(d.text);
  auto code = makeCodeLines(src);
  if (code.size() != src.size()) std::abort();
  for (const auto& l : code)
    if (l.find(u'"') != Text::npos || l.find(u';') != Text::npos) std::abort();
  auto table = makeDefunList(code, true);
  for (const auto& r : table) {
    if (auto rec = parseDefunRecord(r)) {
      if (rec->startLine < 0 || size_t(rec->endLine) >= code.size() || rec->endLine < rec->startLine) std::abort();
      (void)getDefunArgs(code, rec->startLine, rec->startCol);
    } else if (auto n = parseNestedRecord(r)) {
      (void)getDefunArgs(code, n->line, n->col);
    }
  }
  for (const auto& row : makeOutlineRows(src))
    if (row.level > 0 && (row.line < 1 || size_t(row.line) > src.size())) std::abort();
  (void)splitCommaText(d.text);
  return 0;
}
