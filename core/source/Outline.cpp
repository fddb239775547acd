#include "source/Outline.h"

#include <algorithm>
#include <unordered_map>

#include "source/CodeLines.h"
#include "source/DefunTable.h"

namespace quenlit {

OutlineSource buildOutlineSource(const TextList& source, ProgressBar& progress) {
  OutlineSource src;
  makeCodeLines(source, src.codeLines, progress, 30);
  makeDefunList(src.codeLines, src.table, 70, progress, true);
  sortList(src.table);
  return src;
}

std::vector<OutlineRow> makeOutlineRows(const OutlineSource& src) {
  std::vector<OutlineRow> commands, functions;
  if (src.table.empty()) return {};
  // Nested records grouped by their parent's name and ordered by line, so each
  // definition finds the children inside its own lines by binary search even when
  // one name is defined thousands of times.
  struct Child {
    int line;
    size_t order;  // position in the table: the order the rows are shown in
    Text name;
  };
  std::unordered_map<Text, std::vector<Child>> byParent;
  for (size_t i = 0; i < src.table.size(); ++i)
    if (auto n = parseNestedRecord(src.table[i])) byParent[n->parent].push_back({n->line, i, std::move(n->name)});
  for (auto& [parent, kids] : byParent)
    std::stable_sort(kids.begin(), kids.end(), [](const Child& a, const Child& b) { return a.line < b.line; });

  for (const auto& r : src.table) {
    auto d = parseDefunRecord(r);
    if (!d) continue;
    OutlineRow row;
    row.level = 1;
    row.line = d->startLine + 1;
    row.icon = kIconDefun;
    const bool isCommand = startsWith(toUpperAscii(d->name), u"C:");
    if (isCommand) {
      row.text = d->name;
    } else {
      Text args = trim(replaceAll(getDefunArgs(src.codeLines, d->startLine, d->startCol), u"\r\n", u" "));
      row.text = d->name + u" (" + args + u")";
    }
    auto& dest = isCommand ? commands : functions;
    dest.push_back(row);
    if (d->startLine < 0 || d->endLine <= d->startLine) continue;
    if (auto kids = byParent.find(d->name); kids != byParent.end()) {
      const auto& all = kids->second;
      auto lo = std::upper_bound(all.begin(), all.end(), d->startLine,
                                 [](int line, const Child& c) { return line < c.line; });
      auto hi = std::upper_bound(lo, all.end(), d->endLine, [](int line, const Child& c) { return line < c.line; });
      std::vector<const Child*> inside;
      for (auto it = lo; it != hi; ++it) inside.push_back(&*it);
      std::sort(inside.begin(), inside.end(), [](const Child* a, const Child* b) { return a->order < b->order; });
      for (const Child* k : inside) dest.push_back(OutlineRow{2, k->name, k->line + 1, kIconNested});
    }
  }
  std::vector<OutlineRow> rows;
  rows.reserve(commands.size() + functions.size() + 2);
  rows.push_back(OutlineRow{0, u"Command", 0, kIconRoot});
  rows.insert(rows.end(), commands.begin(), commands.end());
  rows.push_back(OutlineRow{0, u"Function", 0, kIconRoot});
  rows.insert(rows.end(), functions.begin(), functions.end());
  return rows;
}

std::vector<OutlineRow> makeOutlineRows(const TextList& source) {
  NullProgress bar;
  return makeOutlineRows(buildOutlineSource(source, bar));
}

}  // namespace quenlit
