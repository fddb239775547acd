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

void collectFromLine(TextView codeLine, std::vector<TextView>& candidates) {
  TextView s = trimView(codeLine);
  const size_t n = s.size();
  if (n < 2) return;
  // A line that mentions defun or lambda anywhere gives no candidates at all,
  // so (defun f () (g)) leaves g out: intended.
  if (containsUpperAscii(s, u"DEFUN") || containsUpperAscii(s, u"LAMBDA")) return;
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

char16_t foldForList(char16_t c) {
  if (c >= u'a' && c <= u'z') return char16_t(c - 32);
  if (c >= 0xFF41 && c <= 0xFF5A) return char16_t(c - 0x20);  // full-width a-z
  return c;
}

// Hash and equality under which listCompare finds two names equal.
struct ListKeyHash {
  size_t operator()(TextView s) const {
    uint64_t h = 1469598103934665603ULL;
    for (char16_t c : s) h = (h ^ foldForList(c)) * 1099511628211ULL;
    return size_t(h);
  }
};
struct ListKeyEqual {
  bool operator()(TextView a, TextView b) const { return listEqual(a, b); }
};

Text padRight(TextView s, size_t width) {
  Text out(s);
  if (out.size() < width) out.append(width - out.size(), u' ');
  return out;
}

}  // namespace

std::vector<TextView> collectCallCandidates(const TextList& codeLines) {
  std::vector<TextView> candidates;
  for (const Text& line : codeLines) collectFromLine(line, candidates);
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

void fusokuFunc(const FunctionSource& src, const BuiltinList& builtins, ResultPane& pane) {
  TextList candidates;
  for (Text& name : sortUniqueCandidates(collectCallCandidates(src.codeLines)))
    if (!builtins.contains(name)) candidates.push_back(std::move(name));

  std::unordered_map<Text, std::vector<size_t>> candidateIndex;
  for (size_t i = 0; i < candidates.size(); ++i) candidateIndex[toUpperAscii(candidates[i])].push_back(i);
  std::vector<bool> defined(candidates.size(), false);
  TextList definedNames;
  for (const Text& record : src.table) {
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
  width = std::min(width, kMaxCountColumn);  // one huge name must not pad every line to its length
  const std::vector<int> counts = CallMatcher(undefinedNames).countCallingLines(src.codeLines);
  for (size_t i = 0; i < undefinedNames.size(); ++i)
    pane.addLine(padRight(undefinedNames[i], width) + u" " + countField(counts[i]));
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
