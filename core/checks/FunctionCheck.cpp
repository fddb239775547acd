#include "checks/FunctionCheck.h"

#include <algorithm>
#include <unordered_map>

#include "checks/CallMatcher.h"
#include "checks/FunctionUsage.h"
#include "source/CodeLines.h"
#include "source/DefunTable.h"

namespace quenlit {

namespace {

bool containsUpper(TextView s, TextView upperNeedle) {
  if (upperNeedle.size() > s.size()) return false;
  for (size_t i = 0; i + upperNeedle.size() <= s.size(); ++i) {
    size_t k = 0;
    while (k < upperNeedle.size() && toUpperAscii(s[i + k]) == upperNeedle[k]) ++k;
    if (k == upperNeedle.size()) return true;
  }
  return false;
}

bool onlyNumberCharacters(TextView name) {
  return std::all_of(name.begin(), name.end(), [](char16_t c) { return (c >= u'0' && c <= u'9') || c == u'.' || c == u'-'; });
}

// Library families that the list does not need to name: their calls are never reported.
bool isLibraryName(TextView name) {
  for (TextView family : {u"VLAX-", u"VLA-", u"VLE-", u"VL-", u"ACET-", u"DOS_"})
    if (containsUpper(name, family)) return true;  // anywhere in the name, not only at its start
  return false;
}

// The names that stand right after "(" in one code line.
void collectCallCandidates(TextView codeLine, TextList& candidates) {
  Text s = replaceAll(trim(codeLine), u"\t", u" ");
  const size_t n = s.size();
  if (n < 2) return;
  // A line that mentions defun or lambda anywhere gives no candidates at all,
  // so (defun f () (g)) leaves g out: intended.
  if (containsUpper(s, u"DEFUN") || containsUpper(s, u"LAMBDA")) return;
  for (size_t i = 0; i + 1 < n; ++i) {
    if (s[i] != u'(' || s[i + 1] == u'(') continue;
    size_t j = i + 1;
    while (j < n && s[j] != u' ' && s[j] != u')' && s[j] != u'(') ++j;
    TextView name = TextView(s).substr(i + 1, j - i - 1);
    if (onlyNumberCharacters(name)) continue;  // (1 2), (-1.5 x): data, not calls
    if (name.size() < 2 || isLibraryName(name)) continue;
    candidates.push_back(trim(name));
  }
}

Text padRight(TextView s, size_t width) {
  Text out(s);
  if (out.size() < width) out.append(width - out.size(), u' ');
  return out;
}

}  // namespace

void fusokuFunc(const TextList& sourceLines, const BuiltinList& builtins, ResultPane& pane, ProgressBar& progress) {
  TextList code;
  makeCodeLines(sourceLines, code, progress, 10);

  TextList candidates;
  for (const Text& line : code) collectCallCandidates(line, candidates);
  if (!candidates.empty()) {
    sortList(candidates);
    // Of a run of names equal in ASCII case, the first in sorted order stays.
    TextList unique;
    unique.reserve(candidates.size());
    for (size_t i = 0; i < candidates.size(); ++i)
      if (unique.empty() || !sameWordAscii(candidates[i], unique.back())) unique.push_back(std::move(candidates[i]));
    candidates.clear();
    for (auto& c : unique)
      if (!builtins.contains(c)) candidates.push_back(std::move(c));
  }

  TextList table;
  makeDefunList(code, table, 20, progress, true);
  std::unordered_map<Text, std::vector<size_t>> candidateIndex;
  for (size_t i = 0; i < candidates.size(); ++i) candidateIndex[toUpperAscii(candidates[i])].push_back(i);
  std::vector<bool> defined(candidates.size(), false);
  TextList definedNames;
  for (const Text& record : table) {
    const TextList fields = splitCommaText(record);
    if (fields.size() == 6) definedNames.push_back(fields[0]);
    if (fields.size() < 4) continue;
    const Text upper = toUpperAscii(fields.size() == 4 ? fields[1] : fields[0]);
    // A command's defun marks nothing, so a direct call of c:foo stays undefined: intended.
    if (upper.find(u"C:") != Text::npos) continue;
    if (auto it = candidateIndex.find(upper); it != candidateIndex.end())
      for (size_t i : it->second) defined[i] = true;
  }
  TextList undefinedNames;
  for (size_t i = 0; i < candidates.size(); ++i)
    if (!defined[i]) undefinedNames.push_back(std::move(candidates[i]));

  sortList(definedNames);
  Text duplicates;
  for (size_t i = 0; i + 1 < definedNames.size(); ++i)
    if (sameWordAscii(definedNames[i], definedNames[i + 1])) duplicates += definedNames[i] + u" ";
  if (!duplicates.empty()) {
    pane.addLine(u"■重複して定義されているユーザー関数");
    pane.addLine(trim(duplicates));
  }

  if (undefinedNames.empty()) return;
  pane.addLine(u"■定義されていないユーザー関数");
  sortList(undefinedNames);
  size_t width = 0;
  for (const Text& name : undefinedNames) width = std::max(width, name.size());
  const std::vector<int> counts = CallMatcher(undefinedNames).countCallingLines(code);
  for (size_t i = 0; i < undefinedNames.size(); ++i)
    pane.addLine(padRight(undefinedNames[i], width + 1) + countField(counts[i]));
}

void runFunctionCheck(const TextList& sourceLines, const BuiltinList& builtins, ResultPane& pane, ProgressBar& progress) {
  pane.clear();
  PaneUpdate update(pane);
  fusokuFunc(sourceLines, builtins, pane, progress);
  notUsedUserFunc(sourceLines, pane, progress);
  userFuncUsedCount(sourceLines, pane, progress);
}

}  // namespace quenlit
