#include "checks/FunctionUsage.h"

#include <algorithm>

#include "checks/CallMatcher.h"
#include "source/CodeLines.h"
#include "source/DefunTable.h"

namespace quenlit {

namespace {

struct UsageSource {
  TextList code;
  TextList records;  // sorted: each top-level record right before its nested ones
};

UsageSource buildUsageSource(const TextList& sourceLines, ProgressBar& progress) {
  UsageSource src;
  makeCodeLines(sourceLines, src.code, progress, 10);
  makeDefunList(src.code, src.records, 10, progress, true);
  sortList(src.records);
  return src;
}

}  // namespace

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
  const size_t S = pane.lineCount();
  const UsageSource src = buildUsageSource(sourceLines, progress);
  size_t written = 0;
  if (!src.records.empty()) {
    TextList entries;
    for (const Text& record : src.records) {
      TextList fields = splitCommaText(record);
      if (fields.size() == 6 && !isCommandName(fields[0])) entries.push_back(std::move(fields[0]));
    }
    const std::vector<int> counts = CallMatcher(entries).countCallingLines(src.code, &progress, 80);
    for (size_t i = 0; i < entries.size(); ++i) {
      if (counts[i] != 0 || isBlank(entries[i])) continue;
      pane.addLine(entries[i]);
      ++written;
    }
  }
  progress.setPosition(0);
  if (written > 0) pane.insertLine(S, u"■参照されていないユーザー関数");
}

void userFuncUsedCount(const TextList& sourceLines, ResultPane& pane, ProgressBar& progress) {
  const size_t S = pane.lineCount();
  const UsageSource src = buildUsageSource(sourceLines, progress);
  if (src.records.empty()) {
    progress.setPosition(0);
    return;
  }
  size_t written = 0;
  for (const Text& record : src.records) {
    const TextList fields = splitCommaText(record);
    if (fields.size() == 6 && !isCommandName(fields[0])) {
      pane.addLine(fields[0]);
      ++written;
    } else if (fields.size() == 4 && !isCommandName(fields[0])) {
      pane.addLine(u"  + " + fields[1]);
      ++written;
    }
  }
  if (pane.lineCount() > 0) {
    // The column is set by the longest line of the whole pane, earlier reports
    // and their headings included, so it moves with them: intended.
    const TextList all = pane.lines();
    size_t width = 0;
    for (const Text& line : all) width = std::max(width, line.size());
    std::vector<size_t> functionLines;
    TextList keys;
    for (size_t j = S; j < all.size(); ++j) {
      if (!all[j].empty() && all[j][0] == u' ') continue;  // a nested defun: no count
      functionLines.push_back(j);
      keys.push_back(all[j]);
    }
    const std::vector<int> counts = CallMatcher(keys).countCallingLines(src.code, &progress, 80);
    for (size_t k = 0; k < functionLines.size(); ++k) {
      const size_t j = functionLines[k];
      Text rewritten = all[j];
      rewritten.append(width - all[j].size(), u' ');
      rewritten += countField(counts[k]);
      pane.removeLine(j);
      pane.insertLine(j, rewritten);
    }
  }
  progress.setPosition(0);
  if (written > 0) pane.insertLine(S, u"■ユーザー関数の出現数");
}

}  // namespace quenlit
