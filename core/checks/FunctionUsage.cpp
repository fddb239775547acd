#include "checks/FunctionUsage.h"

#include <algorithm>

#include "checks/CallMatcher.h"
#include "source/CodeLines.h"
#include "source/DefunTable.h"

namespace quenlit {

FunctionSource buildFunctionSource(const TextList& sourceLines, ProgressBar& progress, int codeDivisor,
                                   int tableDivisor) {
  FunctionSource src;
  makeCodeLines(sourceLines, src.codeLines, progress, codeDivisor);
  makeDefunList(src.codeLines, src.table, tableDivisor, progress, true);
  src.sortedTable = src.table;
  sortList(src.sortedTable);
  return src;
}

bool isCommandName(TextView name) {
  return name.size() >= 2 && toUpperAscii(name[0]) == u'C' && name[1] == u':';
}

Text countField(int count) {
  Text digits = toText(count);
  Text field = u" [";
  if (digits.size() < 3) field.append(3 - digits.size(), u' ');
  return field + digits + u"]";
}

void notUsedUserFunc(const TextList& sourceLines, ResultPane& pane, ProgressBar& progress) {
  notUsedUserFunc(buildFunctionSource(sourceLines, progress, 10, 10), pane, progress);
}

void notUsedUserFunc(const FunctionSource& src, ResultPane& pane, ProgressBar& progress) {
  const size_t S = pane.lineCount();
  size_t written = 0;
  if (!src.sortedTable.empty()) {
    TextList entries;
    for (const Text& record : src.sortedTable) {
      TextList fields = splitCommaText(record);
      if (fields.size() == 6 && !isCommandName(fields[0])) entries.push_back(std::move(fields[0]));
    }
    const std::vector<int> counts = CallMatcher(entries).countCallingLines(src.codeLines, &progress, 80);
    for (size_t i = 0; i < entries.size(); ++i) {
      if (counts[i] != 0 || isBlank(entries[i])) continue;
      pane.addLine(entries[i]);
      ++written;
    }
  }
  progress.setPosition(0);
  if (written > 0) pane.insertLine(S, u"■" + Text(kFuncUnreferencedLabel));
}

void userFuncUsedCount(const TextList& sourceLines, ResultPane& pane, ProgressBar& progress) {
  userFuncUsedCount(buildFunctionSource(sourceLines, progress, 10, 10), pane, progress);
}

void userFuncUsedCount(const FunctionSource& src, ResultPane& pane, ProgressBar& progress) {
  const size_t S = pane.lineCount();
  if (src.sortedTable.empty()) {
    progress.setPosition(0);
    return;
  }
  // The lines are finished before they go into the pane: rewriting them in place
  // line by line would cost a pane edit per function.
  TextList added;
  for (const Text& record : src.sortedTable) {
    const TextList fields = splitCommaText(record);
    if (fields.size() == 6 && !isCommandName(fields[0])) added.push_back(fields[0]);
    else if (fields.size() == 4 && !isCommandName(fields[0])) added.push_back(u"  + " + fields[1]);
  }
  if (S > 0 || !added.empty()) {
    // The column is set by the longest line of the whole pane, earlier reports
    // and their headings included, so it moves with them: intended.
    size_t width = 0;
    for (size_t j = 0; j < S; ++j) width = std::max(width, pane.line(j).size());
    for (const Text& line : added) width = std::max(width, line.size());
    // Unbounded, one long line (the duplicate line of a file defining one name
    // thousands of times) would pad every count line to its length: output, and
    // memory, growing with the square of the file.
    width = std::min(width, kMaxCountColumn);
    std::vector<size_t> functionLines;
    TextList keys;
    for (size_t k = 0; k < added.size(); ++k) {
      if (!added[k].empty() && added[k][0] == u' ') continue;  // a nested defun: no count
      functionLines.push_back(k);
      keys.push_back(added[k]);
    }
    const std::vector<int> counts = CallMatcher(keys).countCallingLines(src.codeLines, &progress, 80);
    for (size_t i = 0; i < functionLines.size(); ++i) {
      Text& line = added[functionLines[i]];
      if (line.size() < width) line.append(width - line.size(), u' ');
      line += countField(counts[i]);
    }
    for (const Text& line : added) pane.addLine(line);
  }
  progress.setPosition(0);
  if (!added.empty()) pane.insertLine(S, u"■ユーザー関数の出現数");
}

}  // namespace quenlit
