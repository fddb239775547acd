#include "checks/FileCheck.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>

#include "checks/CallMatcher.h"
#include "checks/FunctionUsage.h"
#include "checks/ParenCheck.h"
#include "checks/VariableCheck.h"
#include "source/CodeLines.h"
#include "source/DefunTable.h"

namespace quenlit {

namespace {

constexpr RuleInfo kRules[] = {
    {Rule::kParenUnbalanced, "paren-unbalanced", Severity::kError,
     "The lines of a defun (from its \"(defun\" at the start of a line to the next one), or the lines before the "
     "first defun, hold different numbers of \"(\" and \")\"."},
    {Rule::kParenFileUnbalanced, "paren-file-unbalanced", Severity::kError,
     "The whole file holds different numbers of \"(\" and \")\"; the finding points where the balance is lost."},
    {Rule::kVarGlobal, "var-global", Severity::kWarning,
     "A defun's body uses a name that is neither its argument nor its local: a global variable, or a missing "
     "local."},
    {Rule::kVarGlobalInSub, "var-global-in-subfunction", Severity::kWarning,
     "A nested defun uses a name that neither it nor the defun around it declares."},
    {Rule::kVarGlobalOutside, "var-global-outside", Severity::kWarning,
     "Code before the first defun or after the last one uses a variable."},
    {Rule::kVarUnusedArg, "var-unused-arg", Severity::kWarning, "An argument that the defun's body never uses."},
    {Rule::kVarUnusedLocal, "var-unused-local", Severity::kWarning,
     "A local that the defun's body never uses (a local naming a defun nested in it counts as used)."},
    {Rule::kVarDuplicateLocal, "var-duplicate-local", Severity::kWarning,
     "A local declared more than once by the same defun."},
    {Rule::kVarArgAndLocal, "var-arg-and-local", Severity::kWarning,
     "A name declared both as an argument and as a local of the same defun."},
    {Rule::kFuncDuplicate, "func-duplicate", Severity::kWarning,
     "A top-level function defined again in the same file; the later definition wins when the file loads."},
    {Rule::kFuncUndefined, "func-undefined", Severity::kWarning,
     "A called function that is not a built-in and that no checked file defines (with --across-files: none of "
     "the checked files)."},
    {Rule::kFuncUnreferenced, "func-unreferenced", Severity::kWarning,
     "A top-level function, not a command, that no code line calls (with --across-files: of any checked file)."},
};

Text num(long long n) { return toText(n); }
Text inQuotes(TextView name) { return u"'" + Text(name) + u"'"; }

// The 1-based source column of a code-line column, when the code line still
// matches its source line up to there (nothing removed before it, a TAB counted
// as the blank it became); 0 when it does not, rather than a wrong column.
int sourceColumn(const TextList& source, const TextList& code, int line, int codeCol) {
  if (line < 0 || size_t(line) >= source.size() || codeCol < 0) return 0;
  const Text& s = source[size_t(line)];
  const Text& c = code[size_t(line)];
  if (size_t(codeCol) >= c.size() || size_t(codeCol) >= s.size()) return 0;
  for (size_t k = 0; k <= size_t(codeCol); ++k)
    if (c[k] != (s[k] == u'\t' ? u' ' : s[k])) return 0;
  return codeCol + 1;
}

Text varMessage(VarFinding kind, const VarBlock& block, TextView word, int times, Lang lang) {
  if (lang == Lang::kJapanese) {
    Text message = Text(varFindingLabel(kind)) + u" " + Text(word);
    if (kind != VarFinding::kGlobalBeforeAll && kind != VarFinding::kGlobalAfterAll) message += u" (" + block.name + u")";
    return message;
  }
  const Text w = inQuotes(word);
  switch (kind) {
    case VarFinding::kDuplicateLocal: return u"local " + w + u" of " + block.name + u" is declared " + num(times) + u" times";
    case VarFinding::kGlobal:
      return w + u" is used in " + block.name + u" but is neither its argument nor its local";
    case VarFinding::kUnusedArg: return u"argument " + w + u" of " + block.name + u" is never used";
    case VarFinding::kUnusedLocal: return u"local " + w + u" of " + block.name + u" is never used";
    case VarFinding::kArgAndLocal: return w + u" is both an argument and a local of " + block.name;
    case VarFinding::kGlobalInSub:
      return w + u" is used in " + block.name + u" but declared neither there nor in " + block.parent;
    case VarFinding::kGlobalBeforeAll: return w + u" is used before the first defun";
    case VarFinding::kGlobalAfterAll: return w + u" is used after the last defun";
  }
  return Text();
}

Rule varRule(VarFinding kind) {
  switch (kind) {
    case VarFinding::kDuplicateLocal: return Rule::kVarDuplicateLocal;
    case VarFinding::kGlobal: return Rule::kVarGlobal;
    case VarFinding::kUnusedArg: return Rule::kVarUnusedArg;
    case VarFinding::kUnusedLocal: return Rule::kVarUnusedLocal;
    case VarFinding::kArgAndLocal: return Rule::kVarArgAndLocal;
    case VarFinding::kGlobalInSub: return Rule::kVarGlobalInSub;
    default: return Rule::kVarGlobalOutside;
  }
}

void addVariableFindings(const std::vector<VarBlock>& blocks, const TextList& source, const TextList& code, Lang lang,
                         std::vector<Finding>& out) {
  for (const VarBlock& block : blocks) {
    const bool outside = block.kind == VarBlock::kBeforeAll || block.kind == VarBlock::kAfterAll;
    const int line = block.startLine + 1;
    const int column = outside ? 0 : sourceColumn(source, code, block.startLine, block.startCol);
    for (const VarSection& section : block.sections) {
      // The pane lists a local declared n times n - 1 times; one finding says how often.
      std::vector<Text> seen;
      for (const Text& word : section.words) {
        int times = 0;
        if (section.kind == VarFinding::kDuplicateLocal) {
          if (std::any_of(seen.begin(), seen.end(), [&](const Text& s) { return sameWordAscii(s, word); })) continue;
          seen.push_back(word);
          times = int(std::count_if(block.locals.begin(), block.locals.end(),
                                    [&](const Text& l) { return sameWordAscii(l, word); }));
        }
        out.push_back({varRule(section.kind), line, column, varMessage(section.kind, block, word, times, lang)});
      }
    }
  }
}

void addParenFindings(const TextList& code, Lang lang, std::vector<Finding>& out) {
  const ParenFindings found = findParenProblems(code);
  for (const ParenRange& r : found.ranges) {
    Text message;
    if (lang == Lang::kJapanese) {
      message = Text(kParenMismatchLabel) + u": " + parenRangeText(r) + u", " + parenCountText(r);
      if (!r.lead) message += u", " + Text(kDefunInRangeLabel) + trim(r.name);
    } else {
      message = u"lines " + num(r.from + 1LL) + u"-" + num(r.to + 1LL) +
                (r.lead ? Text(u" before the first defun") : u" of defun " + trim(r.name)) + u" hold " +
                num(r.openCount) + u" \"(\" and " + num(r.closeCount) + u" \")\"";
    }
    out.push_back({Rule::kParenUnbalanced, r.from + 1, 1, std::move(message)});
  }
  const auto& m = found.file;
  if (!m) return;
  Text message;
  if (lang == Lang::kJapanese) {
    message = replaceAll(m->plainText, u"\n", u" ");
  } else {
    message = u"the file holds " + num(m->openCount) + u" \"(\" and " + num(m->closeCount) + u" \")\"; ";
    const long long at = m->balancedLine;
    const Text defun = m->defunLabel.empty() ? Text() : u"(" + trim(m->defunLabel) + u")";
    if (m->moreOpen) {
      message += u"they balance last at line " + num(at + 1) + u" from the top";
      if (!defun.empty()) message += u": look inside " + defun + u" or above it, from line " + num(at + 2);
    } else {
      message += u"they balance first at line " + num(at + 1) + u" from the bottom";
      if (!defun.empty()) message += u": look inside " + defun + u" or below it, down to line " + num(at);
    }
  }
  out.push_back({Rule::kParenFileUnbalanced, m->jumpLine, 0, std::move(message)});
}

void addDuplicateFindings(const FunctionIssues& issues, const TextList& table, const TextList& source,
                          const TextList& code, Lang lang, std::vector<Finding>& out) {
  if (issues.duplicates.empty()) return;
  // The definitions of each name in file order; the pane names a name once per
  // definition after the first, so each of those is one finding.
  std::unordered_map<Text, std::vector<DefunRecord>> byName;
  for (const Text& record : table)
    if (auto d = parseDefunRecord(record)) byName[toUpperAscii(d->name)].push_back(*d);
  std::unordered_map<Text, size_t> reported;
  for (const Text& name : issues.duplicates) {
    const Text key = toUpperAscii(name);
    const auto it = byName.find(key);
    if (it == byName.end()) continue;
    const size_t next = ++reported[key];
    if (next >= it->second.size()) continue;
    const DefunRecord& first = it->second.front();
    const DefunRecord& again = it->second[next];
    Text message = lang == Lang::kJapanese ? Text(kFuncDuplicateLabel) + u" " + again.name
                                           : u"function " + inQuotes(again.name) + u" is defined again (first at line " +
                                                 num(first.startLine + 1LL) + u")";
    out.push_back({Rule::kFuncDuplicate, again.startLine + 1, sourceColumn(source, code, again.startLine, again.startCol),
                   std::move(message)});
  }
}

void addUndefined(const UndefinedCall& call, Lang lang, std::vector<Finding>& out) {
  Text message = lang == Lang::kJapanese
                     ? Text(kFuncUndefinedLabel) + u" " + call.name + u" [" + num(call.callingLines) + u"]"
                     : inQuotes(call.name) + u" is called on " + num(call.callingLines) +
                           (call.callingLines == 1 ? u" line" : u" lines") + u" but is neither defined nor a built-in";
  out.push_back({Rule::kFuncUndefined, call.line, call.column, std::move(message)});
}

void addUnreferenced(const FileCheck::Function& f, Lang lang, std::vector<Finding>& out) {
  Text message = lang == Lang::kJapanese ? Text(kFuncUnreferencedLabel) + u" " + f.name
                                         : u"function " + inQuotes(f.name) + u" is never called";
  out.push_back({Rule::kFuncUnreferenced, f.line, f.column, std::move(message)});
}

void sortFindings(std::vector<Finding>& findings) {
  std::stable_sort(findings.begin(), findings.end(), [](const Finding& a, const Finding& b) {
    if (a.line != b.line) return a.line < b.line;
    if (a.column != b.column) return a.column < b.column;
    return int(a.rule) < int(b.rule);
  });
}

TextList functionNames(const FileCheck& file) {
  TextList names;
  names.reserve(file.functions.size());
  for (const auto& f : file.functions) names.push_back(f.name);
  return names;
}

}  // namespace

std::span<const RuleInfo> checkRules() { return kRules; }

const RuleInfo& ruleInfo(Rule rule) { return kRules[size_t(rule)]; }

const char* severityName(Severity severity) { return severity == Severity::kError ? "error" : "warning"; }

FileCheck checkSource(const TextList& sourceLines, const CheckLists& lists) {
  FileCheck file;
  if (sourceLines.empty()) return file;
  // One set of code lines and one table for every check. The table carries the
  // indent, which the variable check reads as an empty field.
  NullProgress progress;
  FunctionSource src;
  makeCodeLines(sourceLines, src.codeLines, progress, 1);
  makeDefunList(src.codeLines, src.table, 1, progress, true);
  const TextList& code = src.codeLines;

  addParenFindings(code, lists.lang, file.findings);
  addVariableFindings(checkVariables(code, src.table, lists.jogai), sourceLines, code, lists.lang, file.findings);

  for (const Text& record : src.table)
    if (auto d = parseDefunRecord(record); d && !isCommandName(d->name) && !isBlank(d->name))
      file.functions.push_back({d->name, d->startLine + 1, sourceColumn(sourceLines, code, d->startLine, d->startCol)});
  FunctionIssues issues = findFunctionIssues(src, lists.builtins, functionNames(file));
  addDuplicateFindings(issues, src.table, sourceLines, code, lists.lang, file.findings);
  file.undefined = std::move(issues.undefined);
  for (UndefinedCall& call : file.undefined) {
    call.column = sourceColumn(sourceLines, code, call.line, call.column);
    call.line += 1;
  }
  file.definedNames = std::move(issues.definedCallNames);
  file.localCalls = std::move(issues.alsoCounted);
  file.codeLines = std::move(src.codeLines);
  return file;
}

void finishAlone(FileCheck& file, Lang lang) {
  for (const UndefinedCall& call : file.undefined) addUndefined(call, lang, file.findings);
  for (size_t i = 0; i < file.functions.size(); ++i)
    if (file.localCalls[i] == 0) addUnreferenced(file.functions[i], lang, file.findings);
  sortFindings(file.findings);
  TextList().swap(file.codeLines);
}

void finishTogether(std::span<FileCheck> files, Lang lang) {
  std::unordered_set<Text> defined;
  TextList names;
  for (const FileCheck& file : files) {
    defined.insert(file.definedNames.begin(), file.definedNames.end());
    for (const auto& f : file.functions) names.push_back(f.name);
  }
  // A name called in one file counts for every file that defines it.
  const CallMatcher matcher(names);
  std::vector<int> total(names.size(), 0);
  for (const FileCheck& file : files) {
    const std::vector<int> counts = matcher.countCallingLines(file.codeLines);
    for (size_t i = 0; i < counts.size(); ++i) total[i] += counts[i];
  }
  std::unordered_map<Text, int> callsByName;
  for (size_t i = 0; i < names.size(); ++i) callsByName[toUpperAscii(names[i])] = total[i];
  for (FileCheck& file : files) {
    for (const UndefinedCall& call : file.undefined)
      if (!defined.count(toUpperAscii(call.name))) addUndefined(call, lang, file.findings);
    for (const auto& f : file.functions)
      if (callsByName[toUpperAscii(f.name)] == 0) addUnreferenced(f, lang, file.findings);
    sortFindings(file.findings);
    TextList().swap(file.codeLines);
  }
}

}  // namespace quenlit
