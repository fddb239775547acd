#include "checks/CallMatcher.h"

#include <algorithm>

namespace quenlit {

CallMatcher::CallMatcher(const TextList& names) {
  nodes_.emplace_back();
  nameNode_.reserve(names.size());
  for (const Text& name : names) {
    int32_t node = 0;
    for (char16_t raw : name) {
      const char16_t c = toUpperAscii(raw);
      auto& kids = nodes_[size_t(node)].kids;
      auto it = std::lower_bound(kids.begin(), kids.end(), c, [](const auto& kid, char16_t ch) { return kid.first < ch; });
      if (it != kids.end() && it->first == c) {
        node = it->second;
      } else {
        const auto fresh = int32_t(nodes_.size());
        kids.insert(it, {c, fresh});
        nodes_.emplace_back();  // invalidates `kids`; not used again below
        node = fresh;
      }
    }
    nodes_[size_t(node)].terminal = true;
    nameNode_.push_back(node);
  }
}

int32_t CallMatcher::child(int32_t node, char16_t c) const {
  const auto& kids = nodes_[size_t(node)].kids;
  auto it = std::lower_bound(kids.begin(), kids.end(), c, [](const auto& kid, char16_t ch) { return kid.first < ch; });
  return it != kids.end() && it->first == c ? it->second : -1;
}

std::vector<int> CallMatcher::countCallingLines(const TextList& codeLines, ProgressBar* progress, int divisor) const {
  std::vector<int> nodeCount(nodes_.size(), 0);
  std::vector<size_t> seenOnLine(nodes_.size(), SIZE_MAX);
  NullProgress none;
  ProgressStepper stepper(progress ? *progress : none, codeLines.size(), divisor);
  for (size_t li = 0; li < codeLines.size(); ++li) {
    if (progress) stepper.before(li);
    const Text& line = codeLines[li];
    const size_t n = line.size();
    for (size_t p = line.find(u'('); p != Text::npos; p = line.find(u'(', p + 1)) {
      // Walk the names that the text after this "(" begins with; a name counts
      // when a blank or ")" follows it.
      int32_t node = 0;
      size_t q = p + 1;
      for (;;) {
        if (nodes_[size_t(node)].terminal && q < n && (line[q] == u' ' || line[q] == u')') && seenOnLine[size_t(node)] != li) {
          seenOnLine[size_t(node)] = li;
          ++nodeCount[size_t(node)];
        }
        if (q >= n) break;
        node = child(node, toUpperAscii(line[q]));
        if (node < 0) break;
        ++q;
      }
    }
  }
  std::vector<int> counts;
  counts.reserve(nameNode_.size());
  for (int32_t node : nameNode_) counts.push_back(nodeCount[size_t(node)]);
  return counts;
}

}  // namespace quenlit
