#include "source/Outline.h"

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
  // Nested records grouped by their parent's name, in table order, so each
  // definition finds its children without a pass over the whole table.
  std::unordered_map<Text, std::vector<NestedRecord>> byParent;
  for (const auto& r : src.table)
    if (auto n = parseNestedRecord(r)) byParent[n->parent].push_back(std::move(*n));

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
      for (const auto& k : kids->second) {
        if (k.line > d->startLine && k.line <= d->endLine)
          dest.push_back(OutlineRow{2, k.name, k.line + 1, kIconNested});
      }
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

void refreshJumpList(std::vector<JumpEntry>& entries, const TextList& sortedTable) {
  if (sortedTable.empty()) return;
  std::unordered_map<Text, int> firstLine;  // upper-cased name -> start line + 1 of its first record
  for (const auto& r : sortedTable)
    if (auto d = parseDefunRecord(r)) firstLine.emplace(toUpperAscii(d->name), d->startLine + 1);
  for (size_t k = entries.size(); k-- > 0;) {
    const Text& t = entries[k].text;
    auto open = t.find(u'(');
    Text key = toUpperAscii(trim(open == Text::npos ? TextView(t) : TextView(t).substr(0, open)));
    if (auto it = firstLine.find(key); it != firstLine.end())
      entries[k].line = it->second;
    else
      entries.erase(entries.begin() + long(k));
  }
}

}  // namespace quenlit
