#include "shell/JumpList.h"

#include <algorithm>
#include <unordered_map>

#include "source/DefunTable.h"

namespace quenlit {

const JumpEntry* JumpList::selected() const {
  const auto sel = box_.selectedIndex();
  return sel && *sel < entries_.size() ? &entries_[*sel] : nullptr;
}

void JumpList::show(std::optional<size_t> selected) {
  box_.show(entries_);
  box_.select(selected && *selected < entries_.size() ? selected : std::nullopt);
}

void JumpList::add(const OutlineRow& row, bool atTop) {
  if (row.level < 1) return;
  const bool present =
      std::any_of(entries_.begin(), entries_.end(), [&](const JumpEntry& e) { return listEqual(e.text, row.text); });
  if (present) return;
  auto selected = box_.selectedIndex();
  entries_.insert(atTop ? entries_.begin() : entries_.end(), JumpEntry{row.text, row.line});
  if (selected && atTop) ++*selected;
  show(selected);
}

void JumpList::moveSelected(int step) {
  const auto sel = box_.selectedIndex();
  if (entries_.size() < 2 || !sel || *sel >= entries_.size()) return;
  if (step < 0 && *sel == 0) return;
  if (step > 0 && *sel + 1 == entries_.size()) return;
  const size_t to = step < 0 ? *sel - 1 : *sel + 1;
  std::swap(entries_[*sel], entries_[to]);
  show(to);
}

void JumpList::removeSelected() {
  const auto sel = box_.selectedIndex();
  if (!sel || *sel >= entries_.size()) return;
  entries_.erase(entries_.begin() + long(*sel));
  show(std::nullopt);
}

void JumpList::clear() {
  entries_.clear();
  show(std::nullopt);
}

void JumpList::drop(std::optional<size_t> from, std::optional<size_t> to) {
  if (!from || *from >= entries_.size()) return;
  const size_t dest = to && *to < entries_.size() ? *to : entries_.size() - 1;
  // The entries between shift by one.
  if (*from < dest)
    std::rotate(entries_.begin() + long(*from), entries_.begin() + long(*from) + 1, entries_.begin() + long(dest) + 1);
  else if (dest < *from)
    std::rotate(entries_.begin() + long(dest), entries_.begin() + long(*from), entries_.begin() + long(*from) + 1);
  show(dest);
}

void JumpList::refresh(const TextList& sortedTable) {
  if (sortedTable.empty()) return;
  const JumpEntry* sel = selected();
  const Text selText = sel ? sel->text : Text();
  const bool anySelected = box_.selectedIndex().has_value();
  std::unordered_map<Text, int> firstLine;  // upper-cased name -> start line + 1 of its first record
  for (const auto& r : sortedTable)
    if (auto d = parseDefunRecord(r)) firstLine.emplace(toUpperAscii(d->name), d->startLine + 1);
  for (size_t k = entries_.size(); k-- > 0;) {
    const Text& t = entries_[k].text;
    auto open = t.find(u'(');
    Text key = toUpperAscii(trim(open == Text::npos ? TextView(t) : TextView(t).substr(0, open)));
    if (auto it = firstLine.find(key); it != firstLine.end())
      entries_[k].line = it->second;
    else
      entries_.erase(entries_.begin() + long(k));
  }
  std::optional<size_t> keep;
  for (size_t i = 0; i < entries_.size() && anySelected; ++i)
    if (entries_[i].text == selText) keep = i;
  show(keep);
}

}  // namespace quenlit
