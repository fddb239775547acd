#include "app/LoadRules.h"

namespace quenlit {

bool hasLspExtension(TextView path) {
  auto slash = path.find_last_of(u"\\/");
  TextView name = slash == TextView::npos ? path : path.substr(slash + 1);
  auto dot = name.rfind(u'.');
  if (dot == TextView::npos) return false;
  return toUpperAscii(name.substr(dot)) == u".LSP";
}

std::optional<size_t> pickDroppedFile(const TextList& paths, const std::function<bool(TextView)>& isLocked) {
  for (size_t i = 0; i < paths.size(); ++i)
    if (hasLspExtension(paths[i]) && !isLocked(paths[i])) return i;
  return std::nullopt;
}

namespace {

// The level-1 row above a level-2 row; for a level-1 row its root.
std::optional<size_t> parentOf(const std::vector<OutlineRow>& rows, size_t i) {
  const int level = rows[i].level;
  if (level == 0) return std::nullopt;
  for (size_t k = i; k-- > 0;)
    if (rows[k].level < level) return k;
  return std::nullopt;
}

bool parentTextIs(const std::vector<OutlineRow>& rows, size_t i, const std::optional<Text>& text) {
  auto p = parentOf(rows, i);
  return p && text && rows[*p].text == *text;
}

}  // namespace

OutlineMemory rememberOutline(const std::vector<OutlineRow>& rows, std::optional<size_t> selected,
                              std::optional<size_t> top) {
  OutlineMemory m;
  if (selected && *selected < rows.size()) {
    const auto& r = rows[*selected];
    if (r.level == 1) {
      m.selectedParent = r.text;
    } else if (r.level == 2) {
      if (auto p = parentOf(rows, *selected)) m.selectedParent = rows[*p].text;
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
      if (auto p = parentOf(rows, *top)) m.topLevel1 = rows[*p].text;
      m.topLevel2 = r.text;
    }
  }
  return m;
}

OutlineRestore restoreOutline(const std::vector<OutlineRow>& rows, const OutlineMemory& m) {
  OutlineRestore result;
  if (!m.selectedParent) return result;
  for (size_t i = 0; i < rows.size(); ++i) {
    const Text& text = rows[i].text;
    if (m.topRoot && text == *m.topRoot) {
      result.top = i;
    } else if (!m.topLevel2 && m.topLevel1 && text == *m.topLevel1) {
      result.top = i;
    } else if (m.topLevel2 && text == *m.topLevel2 && parentTextIs(rows, i, m.topLevel1)) {
      result.top = i;
    }
    const bool match = m.selectedChild ? (text == *m.selectedChild && parentTextIs(rows, i, m.selectedParent))
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
