#include "bridge/TargetCadForm.h"

#include <utility>

namespace quenlit {

std::optional<TargetList> readTargetList(const std::filesystem::path& file, FileError& error) {
  auto content = readTextFile(file, error);
  if (!content) return std::nullopt;
  return TargetList{std::move(*content)};
}

bool writeTargetList(const std::filesystem::path& file, TargetList& list, FileError& error) {
  return writeTextFile(file, list.content, Encoding::Utf8, error);
}

TargetEntry splitTargetLine(TextView line) {
  const size_t tab = line.find(u'\t');
  if (tab == TextView::npos) return {Text(), Text(line)};
  return {Text(line.substr(0, tab)), Text(line.substr(tab + 1))};
}

namespace {

struct TargetLine {
  size_t index, tab;
};

// The first line holding a TAB immediately followed by `progId`; a substring
// test, so a longer identifier with the same beginning matches too.
std::optional<TargetLine> findTargetLine(const TextList& lines, TextView progId) {
  const Text needle = u"\t" + Text(progId);
  for (size_t i = 0; i < lines.size(); ++i)
    if (const size_t at = lines[i].find(needle); at != Text::npos) return TargetLine{i, at};
  return std::nullopt;
}

}  // namespace

std::optional<Text> startupCaption(const TextList& targetLines, TextView progId) {
  auto found = findTargetLine(targetLines, progId);
  if (!found) return std::nullopt;
  return Text(kAppTitle) + u" [ " + targetLines[found->index].substr(0, found->tab) + u" ]";
}

std::optional<Text> startupCaptionFromFile(const std::filesystem::path& file, TextView progId) {
  FileError error;
  auto list = readTargetList(file, error);
  if (!list) return std::nullopt;
  return startupCaption(list->lines(), progId);
}

void TargetCadForm::show(std::optional<size_t> selected) {
  view_->showItems(items_);
  view_->select(selected && *selected < items_.size() ? selected : std::nullopt);
}

void TargetCadForm::save() {
  list_.content.lines = items_;
  FileError error;
  if (!writeTargetList(file_, list_, error)) view_->showFileError(textFromPath(file_), error);
}

void TargetCadForm::attach(TargetCadView* view) {
  view_ = view;
  if (!view_) return;
  view_->showItems(shown_.items);
  view_->select(shown_.selection);
  view_->setEdit1(shown_.edit1);
  view_->setEdit2(shown_.edit2);
}

void TargetCadForm::FormClose() {
  if (!view_) return;
  shown_ = Shown{items_, view_->selectedIndex(), view_->edit1(), view_->edit2()};
  view_ = nullptr;
}

void TargetCadForm::FormShow(TextView progId) {
  FileError error;
  auto read = readTargetList(file_, error);
  if (!read) {
    if (!error.reason.empty() || error.code) view_->showFileError(textFromPath(file_), error);
    return;  // the dialog stays as it was
  }
  list_ = std::move(*read);
  items_ = list_.lines();
  sortList(items_);
  std::optional<size_t> match;
  if (auto found = findTargetLine(items_, progId)) match = found->index;
  show(match);
  if (match) ListBox1Click();
}

void TargetCadForm::ListBox1Click() {
  auto sel = view_->selectedIndex();
  if (!sel || *sel >= items_.size()) return;
  const TargetEntry e = splitTargetLine(items_[*sel]);
  view_->setEdit1(e.name);
  view_->setEdit2(e.progId);
}

void TargetCadForm::SpeedButton1Click() {
  const Text line = view_->edit1() + u"\t" + view_->edit2();
  // Sorted in after its equals, as a sorted list box adds it.
  size_t at = 0;
  while (at < items_.size() && !listLess(line, items_[at])) ++at;
  items_.insert(items_.begin() + long(at), line);
  std::optional<size_t> same;
  for (size_t i = 0; i < items_.size() && !same; ++i)
    if (toUpperAscii(items_[i]) == toUpperAscii(line)) same = i;
  show(same);
  ListBox1Click();
  save();
}

void TargetCadForm::SpeedButton2Click() {
  auto sel = view_->selectedIndex();
  std::optional<size_t> next;
  if (sel && *sel < items_.size()) {
    const size_t i = *sel;
    items_.erase(items_.begin() + long(i));
    // The next item only when one more follows it; else the one before.
    if (i + 1 < items_.size()) next = i;
    else if (i >= 1) next = i - 1;
  }
  view_->setEdit1(u"");
  view_->setEdit2(u"");
  show(next);
  if (next) ListBox1Click();
  save();
}

void TargetCadForm::SpeedButton3Click() {
  const Text line = view_->edit1() + u"\t" + view_->edit2();
  auto sel = view_->selectedIndex();
  if (sel && *sel < items_.size()) {
    items_[*sel] = line;  // in place: the list is sorted again only when it is next read
  } else {
    items_.push_back(line);
    sel.reset();
  }
  show(sel);
  save();
}

bool TargetCadForm::EditKeyPress(char16_t key) {
  if (key != u'\r') return false;
  SpeedButton3Click();
  return true;
}

void TargetCadForm::Button1Click() {
  choice_ = TargetChoice{Text(kAppTitle) + u" [" + view_->edit1() + u"]", view_->edit2()};
}

}  // namespace quenlit
