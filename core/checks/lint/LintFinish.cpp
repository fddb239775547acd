// The rules that need every checked file: function definitions, calls and
// references by name, and the callers that declare a helper's variables.
#include <algorithm>
#include <unordered_map>

#include "checks/lint/Lint.h"
#include "checks/lint/LintText.h"

namespace quenlit::lint {

using syntax::kNone;

namespace {

constexpr LintRuleInfo kRules[] = {
    {LintRule::kVarUndeclared, "var-undeclared", LintSeverity::kWarning,
     "A function sets a variable that no enclosing argument, local or loop binds"},
    {LintRule::kVarCallerLocal, "var-caller-local", LintSeverity::kNote,
     "A function sets a variable that a caller of it declares (dynamic scope)"},
    {LintRule::kVarUnusedLocal, "var-unused-local", LintSeverity::kWarning,
     "A local of a defun or lambda that its body never names"},
    {LintRule::kVarUnusedArg, "var-unused-arg", LintSeverity::kNote, "An argument of a defun that its body never names"},
    {LintRule::kVarDuplicateLocal, "var-duplicate-local", LintSeverity::kWarning,
     "A name declared twice among the locals, or twice among the arguments"},
    {LintRule::kVarArgAndLocal, "var-arg-and-local", LintSeverity::kWarning, "A name that is both an argument and a local"},
    {LintRule::kFuncArity, "func-arity", LintSeverity::kError,
     "A user function called with another number of arguments than its definition takes"},
    {LintRule::kFuncArityBuiltin, "func-arity-builtin", LintSeverity::kWarning,
     "A built-in function called with a number of arguments its signature does not allow"},
    {LintRule::kFuncUndefined, "func-undefined", LintSeverity::kWarning,
     "A called function that is neither a built-in, nor defined in the checked files, nor a bound variable"},
    {LintRule::kFuncDuplicate, "func-duplicate", LintSeverity::kWarning, "A top-level function defined again"},
    {LintRule::kFuncUnreferenced, "func-unreferenced", LintSeverity::kNote,
     "A top-level function, not a command, that is never called nor referenced"},
    {LintRule::kSyntaxUnbalanced, "syntax-unbalanced", LintSeverity::kError, "A list still open at the end of the file"},
    {LintRule::kSyntaxExtraParen, "syntax-extra-paren", LintSeverity::kError, "A closing parenthesis with no open list"},
    {LintRule::kSyntaxUnterminatedString, "syntax-unterminated-string", LintSeverity::kError,
     "A string that runs to the end of the file"},
    {LintRule::kSyntaxUnterminatedComment, "syntax-unterminated-comment", LintSeverity::kError,
     "A block comment that runs to the end of the file"},
};

bool isEntryPoint(const Text& upper) {
  return upper.rfind(u"C:", 0) == 0 || upper == u"S::STARTUP" || upper == u"*ERROR*";
}

struct Place {
  uint32_t file, index;
};

struct NameFacts {
  std::vector<int> argCounts;        // distinct, of every definition
  std::vector<Place> topLevel;       // top-level definitions in file order
  bool used = false;                 // called or referenced
  bool referenced = false;           // 'f, (function f), a reactor's callback: a caller fixes its arguments
  std::vector<Place> callers;        // functions holding a direct call (not of a nested namesake)
};

Text where(const FileLint& here, const FileLint& there, const Range& r, LintLang lang) {
  if (&here == &there) return (lang == LintLang::kJapanese ? fromUtf8Lenient("行 ") : Text(u"line ")) + toText(r.line);
  return fromUtf8Lenient(there.name) + u":" + toText(r.line);
}

}  // namespace

std::span<const LintRuleInfo> lintRules() { return kRules; }
const LintRuleInfo& lintRuleInfo(LintRule rule) { return kRules[size_t(rule)]; }
const char* lintSeverityName(LintSeverity s) {
  return s == LintSeverity::kNote ? "note" : s == LintSeverity::kWarning ? "warning" : "error";
}

void lintFinish(std::span<FileLint> files, const LintOptions& o) {
  // One id per name over all files.
  std::unordered_map<Text, uint32_t> ids;
  std::vector<std::vector<uint32_t>> global(files.size());
  size_t names = 0;
  if (files.size() == 1) {  // a file alone: its own ids are the ids
    names = files[0].folded.size();
    global[0].resize(names);
    for (uint32_t k = 0; k < names; ++k) global[0][k] = k;
  } else {
    for (size_t fi = 0; fi < files.size(); ++fi) {
      global[fi].reserve(files[fi].folded.size());
      for (size_t k = 0; k < files[fi].folded.size(); ++k)
        global[fi].push_back(ids.try_emplace(Text(files[fi].folded[k]), uint32_t(ids.size())).first->second);
    }
    names = ids.size();
  }
  // A call of a name that a defun nested in the same outermost function defines
  // reaches that definition, not the namesakes elsewhere (many commands nest a `main`).
  auto key = [](uint32_t top, uint32_t name) { return (uint64_t(top) << 32) | name; };
  std::vector<std::unordered_map<uint64_t, std::vector<uint32_t>>> localCallers(files.size());
  std::vector<NameFacts> facts(names);
  for (uint32_t fi = 0; fi < files.size(); ++fi) {
    const FileLint& f = files[fi];
    std::unordered_map<uint64_t, bool> nested;
    std::vector<bool> nestedName(f.folded.size(), false);  // a quick no for most calls
    for (const auto& d : f.definitions)
      if (!d.topLevel) {
        nested[key(f.functions[d.function].top, d.name)] = true;
        nestedName[d.name] = true;
      }
    for (const auto& c : f.calls) {
      if (c.function == kNone || !nestedName[c.head]) continue;
      const uint64_t k = key(f.functions[c.function].top, c.head);
      if (nested.count(k)) localCallers[fi][k].push_back(c.function);
    }
    for (uint32_t k = 0; k < f.definitions.size(); ++k) {
      const auto& d = f.definitions[k];
      NameFacts& nf = facts[global[fi][d.name]];
      if (std::find(nf.argCounts.begin(), nf.argCounts.end(), d.arguments) == nf.argCounts.end())
        nf.argCounts.push_back(d.arguments);
      if (d.topLevel) nf.topLevel.push_back({fi, k});
    }
    for (const auto& r : f.references) {
      NameFacts& nf = facts[global[fi][r.name]];
      nf.used = true;
      // Naming itself ('f in its own error message) makes no callback.
      if (r.function == kNone || f.functions[r.function].name != r.name) nf.referenced = true;
    }
    for (const auto& c : f.calls) {
      NameFacts& nf = facts[global[fi][c.head]];
      nf.used = true;
      // Calls of one function follow each other: keep each caller once in a row.
      if (c.function != kNone &&
          (!nestedName[c.head] || !localCallers[fi].count(key(f.functions[c.function].top, c.head))) &&
          (nf.callers.empty() || nf.callers.back().file != fi || nf.callers.back().index != c.function))
        nf.callers.push_back({fi, c.function});
    }
  }

  // What a name that no checked file defines is, looked up once per name.
  enum class Kind : int8_t { kUnknown, kSignature, kListed, kUndefined };
  std::vector<Kind> kinds(names, Kind::kUnknown);
  std::vector<const Signature*> signatures(names, nullptr);
  // Per function with an undeclared write: every name its callers declare, with the
  // first caller (in file and call order) that declares it; built once, sorted by name.
  std::unordered_map<uint64_t, std::vector<std::pair<uint32_t, Place>>> callerDecls;
  auto callerDeclarations = [&](uint32_t fi, uint32_t function) -> const std::vector<std::pair<uint32_t, Place>>& {
    const auto& fn = files[fi].functions[function];
    const bool isNested = fn.top != function;
    // A top-level function's callers depend on its name alone: namesakes in many
    // files share one list, or a workspace of copies costs files x files.
    const uint64_t id = isNested ? (uint64_t(fi) << 32) | function : (uint64_t(1) << 63) | global[fi][fn.name];
    auto [it, added] = callerDecls.try_emplace(id);
    if (!added) return it->second;
    std::vector<Place> nested;
    if (isNested)
      if (auto c = localCallers[fi].find(key(fn.top, fn.name)); c != localCallers[fi].end())
        for (uint32_t k : c->second) nested.push_back({fi, k});
    auto& out = it->second;
    for (const Place& p : isNested ? nested : facts[global[fi][fn.name]].callers)
      for (uint32_t local : files[p.file].functions[p.index].declared) out.push_back({global[p.file][local], p});
    std::stable_sort(out.begin(), out.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    out.erase(std::unique(out.begin(), out.end(), [](const auto& a, const auto& b) { return a.first == b.first; }),
              out.end());
    return out;
  };

  auto add = [](FileLint& f, LintRule rule, const Range& r, TextView symbol, Text message,
                std::vector<Related> related = {}) {
    f.findings.push_back({rule, r, Text(symbol), std::move(message), std::move(related)});
  };
  auto functionName = [&](const FileLint& f, uint32_t index) -> Text {
    const auto& fn = f.functions[index];
    return fn.name == kNone ? lambdaLabel(Text(), o.lang) : Text(f.spellings[fn.spelling]);
  };

  for (uint32_t fi = 0; fi < files.size(); ++fi) {
    FileLint& f = files[fi];
    for (const auto& c : f.calls) {
      const NameFacts& nf = facts[global[fi][c.head]];
      const TextView spelled = f.spellings[c.spelling];
      if (!nf.argCounts.empty()) {
        if (nf.argCounts.size() == 1 && nf.argCounts[0] != c.arguments) {
          std::vector<Related> rel;
          if (!nf.topLevel.empty()) {
            const Place p = nf.topLevel.front();
            const FileLint& df = files[p.file];
            rel.push_back({p.file == fi ? std::string() : df.name, df.definitions[p.index].range,
                           relatedDefinition(df.spellings[df.definitions[p.index].spelling], o.lang)});
          }
          add(f, LintRule::kFuncArity, c.range, spelled, arityMessage(spelled, c.arguments, nf.argCounts[0], o.lang),
              std::move(rel));
        }
        continue;
      }
      const uint32_t g = global[fi][c.head];
      if (kinds[g] == Kind::kUnknown) {
        signatures[g] = findSignature(f.folded[c.head]);
        kinds[g] = signatures[g] ? Kind::kSignature
                   : o.builtins.contains(f.folded[c.head]) ? Kind::kListed
                                                            : Kind::kUndefined;
      }
      if (kinds[g] == Kind::kSignature) {
        const Signature* s = signatures[g];
        if (c.arguments < s->minArgs || (s->maxArgs >= 0 && c.arguments > s->maxArgs))
          add(f, LintRule::kFuncArityBuiltin, c.range, spelled,
              builtinArityMessage(spelled, c.arguments, s->minArgs, s->maxArgs, o.lang));
      } else if (kinds[g] == Kind::kUndefined) {
        add(f, LintRule::kFuncUndefined, c.range, spelled, undefinedMessage(spelled, o.lang));
      }
    }

    for (const auto& d : f.definitions) {
      if (!d.topLevel) continue;
      const NameFacts& nf = facts[global[fi][d.name]];
      const Place first = nf.topLevel.front();
      const TextView spelled = f.spellings[d.spelling];
      if (first.file == fi && &f.definitions[first.index] == &d) {
        if (!nf.used && !isEntryPoint(Text(f.folded[d.name])))
          add(f, LintRule::kFuncUnreferenced, d.range, spelled, unreferencedMessage(spelled, o.lang));
        continue;
      }
      const FileLint& ff = files[first.file];
      const Range& fr = ff.definitions[first.index].range;
      add(f, LintRule::kFuncDuplicate, d.range, spelled, duplicateMessage(spelled, where(f, ff, fr, o.lang), o.lang),
          {{first.file == fi ? std::string() : ff.name, fr, relatedDefinition(spelled, o.lang)}});
    }

    for (const auto& p : f.params) {
      const auto& fn = f.functions[p.function];
      if (p.rule == LintRule::kVarUnusedArg && fn.name != kNone && facts[global[fi][fn.name]].referenced) continue;
      Text function = fn.name == kNone ? lambdaLabel(Text(), o.lang) : Text(f.spellings[fn.spelling]);
      if (fn.name != kNone && p.lambda) function = lambdaLabel(function, o.lang);
      const TextView spelled = f.spellings[p.spelling];
      add(f, p.rule, p.range, spelled, variableMessage(p.rule, p.argument, spelled, function, o.lang));
    }
    f.params = {};

    for (const auto& w : f.undeclared) {
      const auto& fn = f.functions[w.function];
      const TextView spelled = f.spellings[w.spelling];
      const Text function = functionName(f, w.function);
      bool callerLocal = false;
      if (fn.name != kNone) {
        const auto& decls = callerDeclarations(fi, w.function);
        const uint32_t name = global[fi][w.name];
        auto it = std::lower_bound(decls.begin(), decls.end(), name,
                                   [](const std::pair<uint32_t, Place>& d, uint32_t n) { return d.first < n; });
        if (it != decls.end() && it->first == name) {
          const Place p = it->second;
          const FileLint& cf = files[p.file];
          const Text callerName = functionName(cf, p.index);
          add(f, LintRule::kVarCallerLocal, w.range, spelled, callerLocalMessage(spelled, function, callerName, o.lang),
              {{p.file == fi ? std::string() : cf.name, cf.functions[p.index].nameRange,
                relatedCaller(callerName, spelled, o.lang)}});
          callerLocal = true;
        }
      }
      if (!callerLocal)
        add(f, LintRule::kVarUndeclared, w.range, spelled, undeclaredMessage(spelled, function, o.lang),
            {{std::string(), fn.nameRange, relatedFunction(function, o.lang)}});
    }

    // Sorted through their keys, then moved once each.
    std::vector<std::pair<uint64_t, uint32_t>> order(f.findings.size());
    for (uint32_t k = 0; k < order.size(); ++k) {
      const LintFinding& x = f.findings[k];
      order[k] = {(uint64_t(uint32_t(x.range.line)) << 40) | (uint64_t(uint32_t(x.range.column) & 0xFFFFFFu) << 16) |
                      uint64_t(x.rule),
                  k};
    }
    std::stable_sort(order.begin(), order.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<LintFinding> sorted;
    sorted.reserve(order.size());
    for (const auto& [_, k] : order) sorted.push_back(std::move(f.findings[k]));
    f.findings = std::move(sorted);
  }
}

GlobalNames::GlobalNames(const TextList& entries) {
  for (const Text& e : entries) {
    if (e.empty()) continue;
    std::vector<Text> pieces(1);
    bool star = false;
    for (size_t i = 0; i < e.size(); ++i) {
      if (e[i] == u'\\' && i + 1 < e.size() && e[i + 1] == u'*') {
        pieces.back() += u'*';
        ++i;
      } else if (e[i] == u'*') {
        pieces.emplace_back();
        star = true;
      } else {
        pieces.back() += toUpperAscii(e[i]);
      }
    }
    if (star) patterns_.push_back(std::move(pieces));
    else exact_.push_back(std::move(pieces.front()));
  }
}

bool GlobalNames::matches(TextView name) const {
  const Text upper = toUpperAscii(name);
  for (const Text& e : exact_)
    if (e == upper) return true;
  for (const auto& p : patterns_) {
    // pieces[0] is a prefix, pieces.back() a suffix, the middle ones in order between.
    const Text& first = p.front();
    const Text& last = p.back();
    if (upper.size() < first.size() + last.size()) continue;
    if (upper.compare(0, first.size(), first) != 0) continue;
    if (upper.compare(upper.size() - last.size(), last.size(), last) != 0) continue;
    size_t at = first.size();
    const size_t end = upper.size() - last.size();
    bool ok = true;
    for (size_t k = 1; k + 1 < p.size() && ok; ++k) {
      const size_t hit = upper.find(p[k], at);
      if (hit == Text::npos || hit + p[k].size() > end) ok = false;
      else at = hit + p[k].size();
    }
    if (ok) return true;
  }
  return false;
}

}  // namespace quenlit::lint
