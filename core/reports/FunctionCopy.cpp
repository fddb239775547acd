#include "reports/FunctionCopy.h"

#include "reports/Catalog.h"
#include "source/CodeLines.h"
#include "source/DefunTable.h"

namespace quenlit {

namespace {

Text replaceFirst(TextView s, TextView from, TextView to) {
  auto p = s.find(from);
  if (p == TextView::npos) return Text(s);
  Text out(s.substr(0, p));
  out += to;
  out += s.substr(p + from.size());
  return out;
}

Text nameOfRow(TextView rowText) {
  auto p = rowText.find(u'(');
  return p == TextView::npos ? Text(rowText) : trim(rowText.substr(0, p));
}

}  // namespace

std::optional<Text> functionCallText(const OutlineRow& row) {
  if (row.level < 1) return std::nullopt;
  if (toUpperAscii(row.text).find(u"C:") != Text::npos) return row.text;
  // A nested row has no parentheses and so gives "(inner" without a closing one.
  return u"(" + replaceFirst(replaceFirst(row.text, u" (", u" "), u" )", u")");
}

bool findDefunEnd(const TextList& codeLines, int line, int col, int& endLine, int& endCol) {
  endLine = line;
  endCol = col;
  if (line < 0 || size_t(line) >= codeLines.size() || col < 0) return false;
  long long opened = 0, closed = 0;
  for (size_t k = size_t(line); k < codeLines.size(); ++k) {
    const Text& s = codeLines[k];
    for (size_t i = k == size_t(line) ? size_t(col) : 0; i < s.size(); ++i) {
      if (s[i] == u'(') ++opened;
      else if (s[i] == u')') ++closed;
      if (opened > 0 && opened == closed) {
        endLine = int(k);
        endCol = int(i);
        return true;
      }
    }
  }
  return false;
}

std::optional<FunctionCopy> copyFunctionRange(const TextList& source, const std::vector<OutlineRow>& outline,
                                              size_t rowIndex, ProgressBar& progress) {
  if (rowIndex >= outline.size() || outline[rowIndex].level < 1) return std::nullopt;
  const OutlineRow& row = outline[rowIndex];
  const bool nested = row.level >= 2;
  const Text name = nameOfRow(row.text);
  const OutlineRow* parent = nullptr;
  if (nested) {
    for (size_t k = rowIndex; k-- > 0;)
      if (outline[k].level == 1) {
        parent = &outline[k];
        break;
      }
  }
  const Text parentName = parent ? nameOfRow(parent->text) : Text();

  const int defLine = row.line - 1;
  int start = defLine;
  Text unused;
  getDefunComment(source, start, unused);

  TextList codeLines, table;
  makeCodeLines(source, codeLines, progress, 80);
  makeDefunList(codeLines, table, 20, progress, false);

  // Each definition is identified by its name and the line its row stands on, so
  // a second top-level definition of the same name copies its own text.
  int rangeStart = -1, rangeEnd = -1;
  bool inParent = false;  // the nested records seen belong to the row's parent
  bool nestedFound = false;
  for (const auto& record : table) {
    if (auto d = parseDefunRecord(record)) {
      if (!nested) {
        if (d->name == name && d->startLine == defLine) {
          rangeStart = d->startLine;
          rangeEnd = d->endLine;
          break;
        }
      } else {
        inParent = parent && d->name == parentName && d->startLine == parent->line - 1;
        if (inParent) {
          rangeStart = d->startLine;
          rangeEnd = d->endLine;
        }
      }
      continue;
    }
    auto n = parseNestedRecord(record);
    if (!n || !nested || !inParent || n->name != name || n->line != defLine) continue;
    nestedFound = true;
    rangeStart = n->line;
    int endLine = 0, endCol = 0;
    if (findDefunEnd(codeLines, defLine, n->col, endLine, endCol)) {
      // Closing on the parent's own last line is still inside the parent.
      if (endLine <= rangeEnd)
        rangeEnd = endLine;
      else
        rangeEnd = -1;
    }
    break;
  }

  FunctionCopy copy;
  // A nested row without its record would otherwise copy up to the parent's end.
  if (nested && !nestedFound) rangeStart = -1;
  // A definition on one line (start equal to end) is a valid range.
  if (start < 0 || rangeStart < 0 || rangeEnd < rangeStart || size_t(rangeEnd) >= source.size()) {
    copy.message = kRangeFailedMessage;
    return copy;
  }
  for (int k = start; k <= rangeEnd; ++k) {
    copy.clipboard += source[size_t(k)];
    copy.clipboard += u"\r\n";
  }
  copy.ok = true;
  copy.message = kCopiedMessage;
  return copy;
}

}  // namespace quenlit
