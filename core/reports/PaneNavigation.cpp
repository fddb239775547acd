#include "reports/PaneNavigation.h"

#include <climits>

#include "source/CodeLines.h"

namespace quenlit {

namespace {

Text cutBeforeArgs(TextView rowText) {
  auto p = rowText.find(u" (");
  return Text(p == TextView::npos ? rowText : rowText.substr(0, p));
}

}  // namespace

Text selectedText(const ResultPane& pane, const PaneSelection& selection) {
  Text out;
  size_t remaining = selection.length;
  size_t col = selection.column;
  for (size_t k = selection.line; remaining > 0 && k < pane.lineCount(); ++k) {
    const Text line = pane.line(k);
    if (col < line.size()) {
      const size_t take = std::min(remaining, line.size() - col);
      out.append(line, col, take);
      remaining -= take;
    }
    col = 0;
    if (remaining == 0 || k + 1 == pane.lineCount()) break;
    const size_t brk = std::min<size_t>(remaining, 2);
    out.append(TextView(u"\r\n").substr(0, brk));
    remaining -= brk;
  }
  return out;
}

bool isWordDelimiter(char16_t c) { return c == u' ' || c == u'(' || c == u')' || c == u'/' || c == u'|'; }

std::optional<int> findOutlineFunction(TextView name, const std::vector<OutlineRow>& outline) {
  for (const auto& row : outline)
    if (row.level == 1 && sameWordAscii(cutBeforeArgs(row.text), name)) return row.line;
  return std::nullopt;
}

DoubleClickOutcome resolvePaneDoubleClick(const ResultPane& pane, const PaneSelection& selection, bool jumpChecked,
                                          const std::vector<OutlineRow>& outline, const TextList& source,
                                          ProgressBar& progress) {
  DoubleClickOutcome outcome;
  // Any number counts as a line number, not only the line number field: a count
  // in a report line jumps too.
  if (auto n = parseDecimal(trim(replaceAll(selectedText(pane, selection), u"|", u""))); n && *n >= 1 && *n <= INT_MAX) {
    if (jumpChecked) outcome.jumpLine = int(*n);
    return outcome;
  }

  if (selection.line >= pane.lineCount()) return outcome;
  const Text line = pane.line(selection.line);
  size_t start = std::min(selection.column, line.size());
  size_t len = selection.length;
  while (start + len < line.size() && !isWordDelimiter(line[start + len])) ++len;
  while (start > 0 && !isWordDelimiter(line[start - 1])) {
    --start;
    ++len;
  }
  const Text word = trim(selectedText(pane, {selection.line, start, len}));
  outcome.selection = PaneSelection{selection.line, start, 0};
  if (word.empty()) return outcome;

  if (auto row = findOutlineFunction(word, outline)) {
    outcome.jumpLine = *row;
    return outcome;
  }
  // Not defined here (or only nested): the first call is the next best place.
  TextList code;
  makeCodeLines(source, code, progress, 80);
  const Text needle = u"(" + toUpperAscii(word) + u" ";
  for (size_t i = 0; i < code.size(); ++i) {
    if (toUpperAscii(code[i]).find(needle) != Text::npos) {
      outcome.jumpLine = int(i + 1);
      break;
    }
  }
  return outcome;
}

std::optional<int> resolveSelectedFunction(TextView selected, const std::vector<OutlineRow>& outline) {
  const Text name = trim(selected);
  if (name.empty()) return std::nullopt;
  return findOutlineFunction(name, outline);
}

}  // namespace quenlit
