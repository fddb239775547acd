// Counts, for many names at once, the code lines that call each of them.
#pragma once

#include <cstdint>
#include <vector>

#include "source/Progress.h"
#include "text/Text.h"

namespace quenlit {

// A line calls NAME when its ASCII-upper-cased text contains "(" + NAME + " " or
// "(" + NAME + ")", NAME upper-cased too; each line counts once. The result is
// the same as testing every line against every name, done in one pass over the
// lines. Names may hold any character, ")" and "(" included.
class CallMatcher {
 public:
  explicit CallMatcher(const TextList& names);

  // One count per name, in the order given. With `progress`, the bar steps once
  // every max(1, lines / divisor) lines.
  std::vector<int> countCallingLines(const TextList& codeLines, ProgressBar* progress = nullptr, int divisor = 80) const;

 private:
  struct Node {
    std::vector<std::pair<char16_t, int32_t>> kids;  // sorted by character
    bool terminal = false;
  };
  int32_t child(int32_t node, char16_t c) const;

  std::vector<Node> nodes_;
  std::vector<int32_t> nameNode_;  // the node that ends each name
};

}  // namespace quenlit
