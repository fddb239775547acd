// Search text parsing and the line search: the first line of the input is what the
// user typed, the rest is the file searched.
#include <cstdint>
#include <cstdlib>

#include "pane/ResultPane.h"
#include "reports/LineSearch.h"
#include "text/Encoding.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace quenlit;
  auto text = decodeAuto(std::string_view(reinterpret_cast<const char*>(data), size), 932).text;
  auto lines = splitLines(text);
  if (lines.empty()) return 0;
  const Text query = lines.front();
  lines.erase(lines.begin());
  (void)parseSearchTerms(query);
  for (bool ordered : {false, true}) {
    auto found = searchLines(lines, query, ordered);
    if (found.size() > lines.size()) std::abort();  // a line is found at most once
    MemoryPane pane;
    (void)runLineSearch(lines, query, ordered, pane);
  }
  return 0;
}
