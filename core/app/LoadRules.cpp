#include "app/LoadRules.h"

#include <algorithm>

namespace quenlit {

std::optional<size_t> pickDroppedFile(const TextList& paths, const std::function<bool(TextView)>& isLocked) {
  for (size_t i = 0; i < paths.size(); ++i)
    if (hasLspExtension(paths[i]) && !isLocked(paths[i])) return i;
  return std::nullopt;
}

namespace {

// For every row, the row it hangs under (a level-1 row's root, a level-2 row's
// definition), found in one pass: the last row met at each level.
std::vector<std::optional<size_t>> parentsOf(const std::vector<OutlineRow>& rows) {
  std::vector<std::optional<size_t>> parents(rows.size());
  std::optional<size_t> last[3];
  for (size_t i = 0; i < rows.size(); ++i) {
    const int level = std::clamp(rows[i].level, 0, 2);
    if (level > 0) parents[i] = last[level - 1];
    last[level] = i;
    for (int deeper = level + 1; deeper < 3; ++deeper) last[deeper].reset();
  }
  return parents;
}

}  // namespace

OutlineMemory rememberOutline(const std::vector<OutlineRow>& rows, std::optional<size_t> selected,
                              std::optional<size_t> top) {
  OutlineMemory m;
  const auto parentOf = [parents = parentsOf(rows)](size_t i) { return parents[i]; };
  if (selected && *selected < rows.size()) {
    const auto& r = rows[*selected];
    if (r.level == 1) {
      m.selectedParent = r.text;
    } else if (r.level == 2) {
      if (auto p = parentOf(*selected)) m.selectedParent = rows[*p].text;
      m.selectedChild = r.text;
    }
  }
  if (top && *top < rows.size()) {
    const auto& r = rows[*top];
    if (r.level == 0) {
      m.topRoot = r.text;
    } else if (r.level == 1) {
      m.topLevel1 = r.text;
    } else {
      if (auto p = parentOf(*top)) m.topLevel1 = rows[*p].text;
      m.topLevel2 = r.text;
    }
  }
  return m;
}

OutlineRestore restoreOutline(const std::vector<OutlineRow>& rows, const OutlineMemory& m) {
  OutlineRestore result;
  if (!m.selectedParent) return result;
  const auto parents = parentsOf(rows);
  auto parentTextIs = [&](size_t i, const std::optional<Text>& text) {
    return parents[i] && text && rows[*parents[i]].text == *text;
  };
  for (size_t i = 0; i < rows.size(); ++i) {
    const Text& text = rows[i].text;
    if (m.topRoot && text == *m.topRoot) {
      result.top = i;
    } else if (!m.topLevel2 && m.topLevel1 && text == *m.topLevel1) {
      result.top = i;
    } else if (m.topLevel2 && text == *m.topLevel2 && parentTextIs(i, m.topLevel1)) {
      result.top = i;
    }
    const bool match = m.selectedChild ? (text == *m.selectedChild && parentTextIs(i, m.selectedParent))
                                       : text == *m.selectedParent;
    if (match) {
      result.select = i;
      return result;
    }
  }
  // The selected row is gone: the top row is not restored either.
  result.top.reset();
  return result;
}

}  // namespace quenlit
