#include "shell/JumpList.h"

#include <algorithm>

namespace quenlit {

namespace {

// Moves entries[from] to index `to`; the entries between shift by one.
void moveEntry(std::vector<JumpEntry>& entries, size_t from, size_t to) {
  if (from < to)
    std::rotate(entries.begin() + long(from), entries.begin() + long(from) + 1, entries.begin() + long(to) + 1);
  else if (to < from)
    std::rotate(entries.begin() + long(to), entries.begin() + long(from), entries.begin() + long(from) + 1);
}

}  // namespace

bool addJumpEntry(std::vector<JumpEntry>& entries, const OutlineRow& row, bool atTop) {
  if (row.level < 1) return false;
  const bool present =
      std::any_of(entries.begin(), entries.end(), [&](const JumpEntry& e) { return listEqual(e.text, row.text); });
  if (present) return false;
  entries.insert(atTop ? entries.begin() : entries.end(), JumpEntry{row.text, row.line});
  return true;
}

std::optional<size_t> moveJumpEntry(std::vector<JumpEntry>& entries, std::optional<size_t> selected, int step) {
  if (entries.size() < 2 || !selected || *selected >= entries.size()) return std::nullopt;
  if (step < 0 && *selected == 0) return std::nullopt;
  if (step > 0 && *selected + 1 == entries.size()) return std::nullopt;
  const size_t to = step < 0 ? *selected - 1 : *selected + 1;
  std::swap(entries[*selected], entries[to]);
  return to;
}

std::optional<size_t> dropJumpEntry(std::vector<JumpEntry>& entries, std::optional<size_t> from,
                                    std::optional<size_t> to) {
  if (!from || *from >= entries.size()) return std::nullopt;
  const size_t dest = to && *to < entries.size() ? *to : entries.size() - 1;
  moveEntry(entries, *from, dest);
  return dest;
}

}  // namespace quenlit
