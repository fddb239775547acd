#include "checks/FunctionCheck.h"

#include <algorithm>
#include <cstdint>
#include <numeric>
#include <unordered_map>

#include "checks/CallMatcher.h"

namespace quenlit {

namespace {

TextView trimView(TextView s) {
  size_t b = 0, e = s.size();
  while (b < e && s[b] <= 32) ++b;
  while (e > b && s[e - 1] <= 32) --e;
  return s.substr(b, e - b);
}

bool onlyNumberCharacters(TextView name) {
  return std::all_of(name.begin(), name.end(), [](char16_t c) { return (c >= u'0' && c <= u'9') || c == u'.' || c == u'-'; });
}

// Library families that the list does not need to name: their calls are never reported.
bool isLibraryName(TextView name) {
  for (TextView family : {u"VLAX-", u"VLA-", u"VLE-", u"VL-", u"ACET-", u"DOS_"})
    if (containsUpperAscii(name, family)) return true;  // anywhere in the name, not only at its start
  return false;
}

bool matchesUpperAt(TextView s, size_t at, TextView upper) {
  if (s.size() - at < upper.size()) return false;
  for (size_t k = 0; k < upper.size(); ++k)
    if (toUpperAscii(s[at + k]) != upper[k]) return false;
  return true;
}

// Whether the line mentions DEFUN or LAMBDA in any letter case: one pass for both.
bool mentionsDefunOrLambda(TextView s) {
  for (size_t i = 0; i < s.size(); ++i) {
    const char16_t c = char16_t(s[i] | 0x20);  // 'D' and 'd' alike; no other character gives 'd' or 'l'
    if ((c == u'd' && matchesUpperAt(s, i, u"DEFUN")) || (c == u'l' && matchesUpperAt(s, i, u"LAMBDA"))) return true;
  }
  return false;
}

void collectFromLine(TextView codeLine, std::vector<TextView>& candidates) {
  TextView s = trimView(codeLine);
  const size_t n = s.size();
  if (n < 2) return;
  // A line that mentions defun or lambda anywhere gives no candidates at all,
  // so (defun f () (g)) leaves g out: intended.
  if (mentionsDefunOrLambda(s)) return;
  for (size_t i = 0; i + 1 < n; ++i) {
    if (s[i] != u'(' || s[i + 1] == u'(') continue;
    size_t j = i + 1;
    // A TAB ends a name like a blank; code lines hold none, so the names can
    // point into the line itself.
    while (j < n && s[j] != u' ' && s[j] != u'\t' && s[j] != u')' && s[j] != u'(') ++j;
    const TextView name = s.substr(i + 1, j - i - 1);
    if (onlyNumberCharacters(name)) continue;  // (1 2), (-1.5 x): data, not calls
    if (name.size() < 2 || isLibraryName(name)) continue;
    candidates.push_back(trimView(name));
  }
}

Text padRight(TextView s, size_t width) {
  Text out(s);
  if (out.size() < width) out.append(width - out.size(), u' ');
  return out;
}

}  // namespace

std::vector<TextView> collectCallCandidates(const TextList& codeLines, std::vector<int>* lineOf) {
  std::vector<TextView> candidates;
  for (size_t k = 0; k < codeLines.size(); ++k) {
    collectFromLine(codeLines[k], candidates);
    if (lineOf) lineOf->resize(candidates.size(), int(k));
  }
  return candidates;
}

// A stable sort puts the names that the list comparison finds equal next to each
// other in their original order; dropping the neighbours equal in ASCII case then
// works inside each such group alone. So the names are grouped first, each group
// keeps what the neighbour rule keeps, and only the groups are sorted: the same
// list, without sorting every occurrence of every call.
TextList sortUniqueCandidates(const std::vector<TextView>& names) {
  std::unordered_map<TextView, size_t, ListKeyHash, ListKeyEqual> groupOf;
  std::vector<std::vector<TextView>> groups;
  for (TextView name : names) {
    auto [it, fresh] = groupOf.try_emplace(name, groups.size());
    if (fresh) groups.emplace_back();
    auto& group = groups[it->second];
    if (group.empty() || !sameWordAscii(group.back(), name)) group.push_back(name);
  }
  std::vector<size_t> order(groups.size());
  std::iota(order.begin(), order.end(), size_t(0));
  // Every group is non-empty and its first name stands for the whole group.
  std::sort(order.begin(), order.end(), [&](size_t a, size_t b) { return listLess(groups[a][0], groups[b][0]); });
  TextList result;
  for (size_t g : order)
    for (TextView name : groups[g]) result.emplace_back(name);
  return result;
}

void fusokuFunc(const TextList& sourceLines, const BuiltinList& builtins, ResultPane& pane, ProgressBar& progress) {
  fusokuFunc(buildFunctionSource(sourceLines, progress, 10, 20), builtins, pane);
}

TextList definedCallNames(const TextList& table) {
  TextList names;
  for (const Text& record : table) {
    const TextList fields = splitCommaText(record);
    if (fields.size() < 4) continue;  // records of 5 or 7 fields mark too, by their first field
    Text upper = toUpperAscii(fields.size() == 4 ? fields[1] : fields[0]);
    // A command's defun marks nothing, so a direct call of c:foo stays undefined: intended.
    if (upper.find(u"C:") == Text::npos) names.push_back(std::move(upper));
  }
  return names;
}

FunctionIssues findFunctionIssues(const FunctionSource& src, const BuiltinList& builtins, const TextList& alsoCount) {
  std::vector<int> lineOf;
  const std::vector<TextView> calls = collectCallCandidates(src.codeLines, &lineOf);
  TextList candidates;
  for (Text& name : sortUniqueCandidates(calls))
    if (!builtins.contains(name)) candidates.push_back(std::move(name));

  std::unordered_map<Text, std::vector<size_t>> candidateIndex;
  for (size_t i = 0; i < candidates.size(); ++i) candidateIndex[toUpperAscii(candidates[i])].push_back(i);
  std::vector<bool> defined(candidates.size(), false);
  FunctionIssues issues;
  issues.definedCallNames = definedCallNames(src.table);
  for (const Text& upper : issues.definedCallNames)
    if (auto it = candidateIndex.find(upper); it != candidateIndex.end())
      for (size_t i : it->second) defined[i] = true;

  TextList definedNames;
  for (const Text& record : src.table) {
    TextList fields = splitCommaText(record);
    if (fields.size() == 6) definedNames.push_back(std::move(fields[0]));
  }
  sortList(definedNames);
  for (size_t i = 0; i + 1 < definedNames.size(); ++i)
    if (sameWordAscii(definedNames[i], definedNames[i + 1])) issues.duplicates.push_back(definedNames[i]);

  TextList undefinedNames;
  for (size_t i = 0; i < candidates.size(); ++i)
    if (!defined[i]) undefinedNames.push_back(std::move(candidates[i]));
  sortList(undefinedNames);
  // One pass over the code lines counts the calls of both lists.
  TextList counted = undefinedNames;
  counted.insert(counted.end(), alsoCount.begin(), alsoCount.end());
  const std::vector<int> counts =
      counted.empty() ? std::vector<int>() : CallMatcher(counted).countCallingLines(src.codeLines);
  issues.alsoCounted.assign(counts.begin() + long(undefinedNames.size()), counts.end());
  if (undefinedNames.empty()) return issues;
  // Where each name is first called, for a report that points at a line.
  std::unordered_map<Text, size_t> firstCall;
  for (size_t i = 0; i < calls.size(); ++i) firstCall.try_emplace(toUpperAscii(calls[i]), i);
  for (size_t i = 0; i < undefinedNames.size(); ++i) {
    UndefinedCall call{undefinedNames[i], counts[i], 0, 0};
    if (auto it = firstCall.find(toUpperAscii(undefinedNames[i])); it != firstCall.end()) {
      call.line = lineOf[it->second];
      call.column = int(calls[it->second].data() - src.codeLines[size_t(call.line)].data()) - 1;
    }
    issues.undefined.push_back(std::move(call));
  }
  return issues;
}

void fusokuFunc(const FunctionSource& src, const BuiltinList& builtins, ResultPane& pane) {
  const FunctionIssues issues = findFunctionIssues(src, builtins);
  if (!issues.duplicates.empty()) {
    Text duplicates;
    for (const Text& name : issues.duplicates) duplicates += name + u" ";
    pane.addLine(u"■" + Text(kFuncDuplicateLabel));
    pane.addLine(trim(duplicates));
  }

  if (issues.undefined.empty()) return;
  pane.addLine(u"■" + Text(kFuncUndefinedLabel));
  size_t width = 0;
  for (const UndefinedCall& call : issues.undefined) width = std::max(width, call.name.size());
  width = std::min(width, kMaxCountColumn);  // one huge name must not pad every line to its length
  for (const UndefinedCall& call : issues.undefined)
    pane.addLine(padRight(call.name, width) + u" " + countField(call.callingLines));
}

void runFunctionCheck(const TextList& sourceLines, const BuiltinList& builtins, ResultPane& pane, ProgressBar& progress) {
  pane.clear();
  PaneUpdate update(pane);
  // The three reports read the same code lines and table; building them once is
  // the same as building them three times.
  const FunctionSource src = buildFunctionSource(sourceLines, progress, 10, 20);
  fusokuFunc(src, builtins, pane);
  notUsedUserFunc(src, pane, progress);
  userFuncUsedCount(src, pane, progress);
}

}  // namespace quenlit
