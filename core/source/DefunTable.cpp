#include "source/DefunTable.h"

#include <algorithm>

namespace quenlit {

namespace {

constexpr TextView kDefun = u"(DEFUN ";

// The name between "(DEFUN " and the next "(", or nothing when no "(" follows.
std::optional<Text> nameAfterDefun(TextView line, size_t at) {
  const size_t from = at + kDefun.size();
  const size_t open = line.find(u'(', from);
  if (open == TextView::npos) return std::nullopt;
  return Text(line.substr(from, open - from));
}

}  // namespace

size_t findDefun(TextView codeLine) { return findUpperAscii(codeLine, kDefun); }

void makeDefunList(const TextList& codeLines, TextList& table, int divisor, ProgressBar& progress, bool indentFlag) {
  if (codeLines.empty()) return;
  table.clear();
  ProgressStepper stepper(progress, codeLines.size(), divisor);
  const Text indent = indentFlag ? Text(9, u' ') : Text();
  bool collecting = false;
  long long opens = 0, closes = 0;
  Text name;
  size_t startLine = 0, startPos = 0;  // startPos: 0-based column of "(DEFUN "
  TextList pending;

  for (size_t i = 0; i < codeLines.size(); ++i) {
    stepper.before(i);
    const Text& line = codeLines[i];
    if (isBlank(line)) continue;
    if (collecting) {
      size_t p = findDefun(line);
      if (p != TextView::npos) {
        if (auto nested = nameAfterDefun(line, p))
          pending.push_back(*nested + u"," + toText(static_cast<long long>(i)) + u"," + toText(static_cast<long long>(p)));
      }
    } else {
      size_t p = findDefun(line);
      if (p != TextView::npos) {
        if (auto n = nameAfterDefun(line, p)) {
          name = std::move(*n);
          startLine = i;
          startPos = p;
          opens = closes = 0;
          pending.clear();
          collecting = true;
        }
      }
    }
    if (!collecting) continue;
    for (size_t q = (i == startLine ? startPos : 0); q < line.size(); ++q) {
      if (line[q] == u'(') ++opens;
      else if (line[q] == u')') ++closes;
      else continue;
      if (opens > 0 && opens == closes) {
        table.push_back(name + u"," + indent + u"," + toText(static_cast<long long>(startLine)) + u"," +
                        toText(static_cast<long long>(startPos)) + u"," + toText(static_cast<long long>(i)) + u"," + toText(static_cast<long long>(q)));
        if (!pending.empty()) {
          sortList(pending);
          for (const auto& e : pending) table.push_back(name + u"," + e);
        }
        pending.clear();
        collecting = false;
        break;
      }
    }
  }
  progress.setPosition(0);
}

TextList makeDefunList(const TextList& codeLines, bool indentFlag) {
  NullProgress bar;
  TextList table;
  makeDefunList(codeLines, table, 1, bar, indentFlag);
  return table;
}

Text getDefunArgs(const TextList& codeLines, int startLine, int startCol) {
  if (startLine < 0 || startCol < 0) return {};
  const size_t lines = codeLines.size();
  int depth = 0;
  bool opened = false, ended = false;
  size_t sl = 0, sp = 0;  // first character of the list: line, 0-based column
  size_t el = 0, ep = 0;  // end: line, and the 0-based column just past the last character
  for (size_t i = size_t(startLine); i < lines && !ended; ++i) {
    const Text& line = codeLines[i];
    const size_t from = i == size_t(startLine) ? size_t(startCol) : 0;
    for (size_t q = from; q < line.size(); ++q) {
      const char16_t c = line[q];
      if (c == u'(') {
        ++depth;
        if (depth == 2) {
          opened = true;
          if (q + 1 == line.size()) {
            const auto next = nonEmptyLineFrom(codeLines, i + 1);
            if (!next) return {};  // nothing follows the "(": no list
            sl = *next;
            sp = 0;
          } else {
            sl = i;
            sp = q + 1;
          }
        } else if (depth == 3) {
          return {};
        }
      } else if (depth == 2 && (c == u'/' || c == u')')) {
        if (q == 0) {
          // The list ends at the end of the nearest non-empty line above.
          const auto above = nonEmptyLineAbove(codeLines, i);
          if (!above) return {};
          el = *above;
          ep = codeLines[el].size();
        } else {
          el = i;
          ep = q;
        }
        ended = true;
        break;
      }
    }
  }
  if (!opened || !ended) return {};
  const auto text = joinCodeSpan(codeLines, sl, sp, el, ep);
  if (!text) return {};
  Text out;
  for (const auto& item : splitCommaText(*text)) {
    out += item;
    out += u"\r\n";
  }
  return out;
}

std::optional<size_t> nonEmptyLineFrom(const TextList& codeLines, size_t line) {
  while (line < codeLines.size() && codeLines[line].empty()) ++line;
  return line < codeLines.size() ? std::optional<size_t>(line) : std::nullopt;
}

std::optional<size_t> nonEmptyLineAbove(const TextList& codeLines, size_t line) {
  while (line > 0)
    if (!codeLines[--line].empty()) return line;
  return std::nullopt;
}

std::optional<Text> joinCodeSpan(const TextList& codeLines, size_t bl, size_t bp, size_t el, size_t ep) {
  if (bl > el || (bl == el && bp >= ep)) return std::nullopt;
  if (bl == el) return codeLines[bl].substr(bp, ep - bp);
  Text text = codeLines[bl].substr(std::min(bp, codeLines[bl].size()));
  for (size_t k = bl + 1; k < el; ++k) {
    text += u' ';
    text += codeLines[k];
  }
  text += u' ';
  text += codeLines[el].substr(0, ep);
  return text;
}

int fieldToInt(TextView field, int fallback) {
  const auto v = field.size() <= 9 ? parseDecimal(field, false) : std::nullopt;
  return v ? int(*v) : fallback;
}

std::optional<DefunRecord> parseDefunRecord(TextView record) {
  auto f = splitCommaText(record);
  if (f.size() != 6) return std::nullopt;
  return DefunRecord{f[0], fieldToInt(f[2]), fieldToInt(f[3]), fieldToInt(f[4]), fieldToInt(f[5])};
}

std::optional<NestedRecord> parseNestedRecord(TextView record) {
  auto f = splitCommaText(record);
  if (f.size() != 4) return std::nullopt;
  return NestedRecord{f[0], f[1], fieldToInt(f[2]), fieldToInt(f[3])};
}

}  // namespace quenlit
