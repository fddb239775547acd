// One pass over the tree in source order, with an explicit work stack: scopes
// open and close as their forms are entered and left, so "bound here" is a
// counter per symbol rather than a search up a chain of scopes.
#include <algorithm>
#include <unordered_set>

#include "checks/ExclusionList.h"
#include "checks/lint/Lint.h"
#include "checks/lint/LintText.h"

namespace quenlit::lint {

using namespace syntax;

namespace {

enum class Mode : uint8_t { kCode, kData, kWrite, kBindLoop, kPop };

struct Work {
  uint32_t node;
  Mode mode;
};

struct Scope {
  size_t bindStart;
  uint32_t function;
};

class Walker {
 public:
  Walker(const Tree& t, const LintOptions& o) : t_(t), o_(o) {
    boundCount_.assign(t.foldedCount(), 0);
    excluded_.assign(t.foldedCount(), -1);
    markArg_.assign(t.foldedCount(), 0);
    markLocal_.assign(t.foldedCount(), 0);
    size_t lists = 0;  // every call is a list: room for that many, not twice as many
    for (const Node& n : t.nodes) lists += n.kind() == NodeKind::kList;
    out_.calls.reserve(lists);
    work_.reserve(256);
  }

  FileLint run() {
    syntaxFindings();
    pushChildren(t_.firstChild(t_.nodes[0]), Mode::kCode);
    while (!work_.empty()) {
      const Work w = work_.back();
      work_.pop_back();
      switch (w.mode) {
        case Mode::kCode: code(w.node); break;
        case Mode::kData: data(w.node); break;
        case Mode::kWrite: write(t_.nodes[w.node]); break;
        case Mode::kBindLoop: bindLoop(w.node); break;
        case Mode::kPop: popScope(); break;
      }
    }
    size_t chars = 0;
    for (TextView sp : t_.spellings) chars += sp.size();
    out_.spellings.reserve(t_.spellings.size(), chars);
    for (TextView sp : t_.spellings) out_.spellings.add(sp);
    out_.foldedSpelling.assign(t_.foldedSpelling.begin(), t_.foldedSpelling.end());
    out_.folded.reserve(t_.foldedCount(), chars);
    static constexpr const char16_t* kWellKnown[kWellKnownCount] = {
        u"DEFUN", u"DEFUN-Q", u"LAMBDA", u"QUOTE", u"FUNCTION", u"COND",
        u"SETQ",  u"SET",     u"FOREACH", u"VLAX-FOR", u"NIL", u"/"};
    Text upper;
    for (uint32_t f = 0; f < t_.foldedCount(); ++f) {
      const uint32_t sp = t_.foldedSpelling[f];
      if (sp == kNone) {
        out_.folded.add(f < kWellKnownCount ? TextView(kWellKnown[f]) : TextView());
        continue;
      }
      upper.assign(t_.spellings[sp]);
      for (char16_t& c : upper) c = toUpperAscii(c);
      out_.folded.add(upper);
    }
    return std::move(out_);
  }

 private:
  const Node& node(uint32_t id) const { return t_.nodes[id]; }
  Range rangeOf(const Node& n) const { return t_.range(n); }
  uint32_t currentFunction() const { return scopes_.empty() ? kNone : scopes_.back().function; }
  bool isSymbol(uint32_t id, uint32_t folded) const {
    return id != kNone && node(id).kind() == NodeKind::kSymbol && t_.folded(node(id)) == folded;
  }

  void syntaxFindings() {
    for (const SyntaxError& e : t_.errors) {
      LintFinding f;
      switch (e.kind) {
        case SyntaxErrorKind::kUnbalanced: f.rule = LintRule::kSyntaxUnbalanced; break;
        case SyntaxErrorKind::kExtraParen: f.rule = LintRule::kSyntaxExtraParen; break;
        case SyntaxErrorKind::kUnterminatedString: f.rule = LintRule::kSyntaxUnterminatedString; break;
        case SyntaxErrorKind::kUnterminatedComment: f.rule = LintRule::kSyntaxUnterminatedComment; break;
      }
      f.range = e.range;
      f.message = syntaxMessage(f.rule, o_.lang);
      out_.findings.push_back(std::move(f));
    }
  }

  // Pushes `first` and its following siblings so that they come off the stack in
  // source order.
  void pushChildren(uint32_t first, Mode mode) {
    size_t n = 0;
    for (uint32_t c = first; c != kNone; c = node(c).next) ++n;
    size_t at = work_.size() + n;
    work_.resize(at);
    for (uint32_t c = first; c != kNone; c = node(c).next) work_[--at] = {c, mode};
  }
  void pushOne(uint32_t id, Mode mode) {
    if (id != kNone) work_.push_back({id, mode});
  }

  void code(uint32_t id) {
    const Node& n = node(id);
    if (n.kind() == NodeKind::kQuote) {
      quoted(t_.firstChild(n));
    } else if (n.kind() == NodeKind::kList) {
      list(id);
    }
  }

  // A quoted datum in code position: a symbol is a reference to a function.
  void quoted(uint32_t datum) {
    if (datum == kNone) return;
    if (node(datum).kind() == NodeKind::kSymbol) out_.references.push_back({t_.folded(node(datum)), currentFunction()});
    else pushOne(datum, Mode::kData);
  }

  void data(uint32_t id) {
    const Node& n = node(id);
    if (n.kind() == NodeKind::kList) {
      if (isSymbol(t_.firstChild(n), kLambda)) {
        lambda(n);
        return;
      }
      reactorCallback(n);
      pushChildren(t_.firstChild(n), Mode::kData);
    } else if (n.kind() == NodeKind::kQuote) {
      pushOne(t_.firstChild(n), Mode::kData);
    }
  }

  // (:vlr-commandEnded . on-end) in a reactor's event list names its callback.
  void reactorCallback(const Node& n) {
    if (!n.dotted() || n.value() != 2) return;
    const Node& event = node(t_.firstChild(n));
    const Node& callback = node(event.next);
    if (event.kind() != NodeKind::kSymbol || callback.kind() != NodeKind::kSymbol) return;
    const TextView e = t_.text(event);
    if (e.size() > 5 && FoldEqual()(e.substr(0, 5), u":vlr-")) out_.references.push_back({t_.folded(callback), currentFunction()});
  }

  void list(uint32_t id) {
    const Node& n = node(id);
    const uint32_t head = t_.firstChild(n);
    if (head == kNone) return;  // () is nil
    const Node& h = node(head);
    if (h.kind() != NodeKind::kSymbol) {
      pushChildren(head, Mode::kCode);
      return;
    }
    const uint32_t f = t_.folded(h);
    const int args = int(n.value()) - 1;
    switch (f) {
      case kDefun:
      case kDefunQ: defun(n); return;
      case kLambda: lambda(n); return;
      case kQuoteSym:
        call(h, args);
        quoted(h.next);
        if (h.next != kNone) pushChildren(node(h.next).next, Mode::kData);
        return;
      case kFunction:
        call(h, args);
        quoted(h.next);  // (function f) names f; (function (lambda ...)) is the lambda
        return;
      case kCond:
        call(h, args);
        condClauses(h.next);
        return;
      case kSetq: {
        call(h, args);
        const size_t base = work_.size();
        bool target = true;
        for (uint32_t c = h.next; c != kNone; c = node(c).next, target = !target)
          work_.push_back({c, target && node(c).kind() == NodeKind::kSymbol ? Mode::kWrite : Mode::kCode});
        std::reverse(work_.begin() + base, work_.end());
        return;
      }
      case kSet: {
        call(h, args);
        const uint32_t a = h.next;
        if (a != kNone && node(a).kind() == NodeKind::kQuote && t_.firstChild(node(a)) != kNone &&
            node(t_.firstChild(node(a))).kind() == NodeKind::kSymbol) {
          pushChildren(node(a).next, Mode::kCode);
          work_.push_back({t_.firstChild(node(a)), Mode::kWrite});
        } else {
          pushChildren(a, Mode::kCode);
        }
        return;
      }
      case kForeach:
      case kVlaxFor: loop(h, args); return;
      default: break;
    }
    if (boundCount_[f] == 0) call(h, args);  // a bound head calls the lambda a variable holds
    pushChildren(h.next, Mode::kCode);
  }

  void call(const Node& head, int args) {
    out_.calls.push_back({t_.folded(head), head.value(), rangeOf(head), args, currentFunction()});
  }

  // Each clause's elements are code; a clause's head is a test, not a call.
  void condClauses(uint32_t first) {
    std::vector<Work>& w = scratch_;
    w.clear();
    for (uint32_t c = first; c != kNone; c = node(c).next) {
      if (node(c).kind() == NodeKind::kList)
        for (uint32_t e = t_.firstChild(node(c)); e != kNone; e = node(e).next) w.push_back({e, Mode::kCode});
      else
        w.push_back({c, Mode::kCode});
    }
    work_.insert(work_.end(), w.rbegin(), w.rend());
  }

  void loop(const Node& head, int args) {
    call(head, args);
    const uint32_t var = head.next;
    if (var == kNone) return;
    const uint32_t expr = node(var).next;
    work_.push_back({0, Mode::kPop});
    if (expr != kNone) pushChildren(node(expr).next, Mode::kCode);
    work_.push_back({var, Mode::kBindLoop});
    pushOne(expr, Mode::kCode);  // read in the outer scope, before the variable binds
  }

  void bindLoop(uint32_t var) {
    scopes_.push_back({binds_.size(), currentFunction()});
    if (node(var).kind() == NodeKind::kSymbol) bind(t_.folded(node(var)));
  }

  void bind(uint32_t f) {
    binds_.push_back(f);
    ++boundCount_[f];
  }

  void popScope() {
    const Scope s = scopes_.back();
    scopes_.pop_back();
    for (size_t k = s.bindStart; k < binds_.size(); ++k) --boundCount_[binds_[k]];
    binds_.resize(s.bindStart);
  }

  struct Params {
    std::vector<uint32_t> args, locals;  // symbol nodes
  };

  void readParams(uint32_t list, Params& p) {
    p.args.clear();
    p.locals.clear();
    if (list == kNone || node(list).kind() != NodeKind::kList) return;  // nil or no list: none
    bool locals = false;
    for (uint32_t c = t_.firstChild(node(list)); c != kNone; c = node(c).next) {
      if (node(c).kind() != NodeKind::kSymbol) continue;
      if (!locals && t_.folded(node(c)) == kSlash) {
        locals = true;
        continue;
      }
      (locals ? p.locals : p.args).push_back(c);
    }
  }

  void defun(const Node& form) {
    const Node& head = node(t_.firstChild(form));
    const uint32_t name = head.next;
    const bool named = name != kNone && node(name).kind() == NodeKind::kSymbol;
    const uint32_t paramList = name == kNone ? kNone : node(name).next;
    Params& p = params_;
    readParams(paramList, p);
    FileLint::Function fn;
    const uint32_t index = uint32_t(out_.functions.size());
    const uint32_t outer = currentFunction();
    fn.top = outer == kNone ? index : out_.functions[outer].top;
    if (named) {
      fn.name = t_.folded(node(name));
      fn.spelling = node(name).value();
      fn.nameRange = rangeOf(node(name));
      out_.definitions.push_back({fn.name, node(name).value(), fn.nameRange, int(p.args.size()), outer == kNone, index});
    } else {
      fn.nameRange = rangeOf(head);
    }
    for (uint32_t a : p.args) fn.declared.push_back(t_.folded(node(a)));
    for (uint32_t l : p.locals) fn.declared.push_back(t_.folded(node(l)));
    std::sort(fn.declared.begin(), fn.declared.end());
    fn.declared.erase(std::unique(fn.declared.begin(), fn.declared.end()), fn.declared.end());
    out_.functions.push_back(std::move(fn));
    const uint32_t afterParams = paramList == kNone ? kNone : node(paramList).next;
    // The handler's one argument is AutoLISP's to give: not using it is no fault.
    const bool handler = named && toUpperAscii(t_.text(node(name))) == u"*ERROR*";
    enter(form, paramList, afterParams, p, index, false, !handler);
  }

  void lambda(const Node& form) {
    const Node& head = node(t_.firstChild(form));
    const uint32_t paramList = head.next;
    Params& p = params_;
    readParams(paramList, p);
    uint32_t index = currentFunction();
    if (index == kNone) {
      FileLint::Function fn;
      fn.nameRange = rangeOf(head);
      for (uint32_t a : p.args) fn.declared.push_back(t_.folded(node(a)));
      for (uint32_t l : p.locals) fn.declared.push_back(t_.folded(node(l)));
      std::sort(fn.declared.begin(), fn.declared.end());
      fn.declared.erase(std::unique(fn.declared.begin(), fn.declared.end()), fn.declared.end());
      index = uint32_t(out_.functions.size());
      fn.top = index;
      out_.functions.push_back(std::move(fn));
    }
    const uint32_t afterParams = paramList == kNone ? kNone : node(paramList).next;
    enter(form, paramList, afterParams, p, index, true, false);
  }

  // The rules of one parameter list, then the scope for the body.
  void enter(const Node& form, uint32_t paramList, uint32_t bodyFirst, const Params& p, uint32_t function,
             bool isLambda, bool isDefun) {
    label_ = {function, isLambda};
    ++stamp_;
    for (uint32_t a : p.args) {
      const uint32_t f = t_.folded(node(a));
      if (markArg_[f] == stamp_) param(LintRule::kVarDuplicateLocal, node(a), true);
      markArg_[f] = stamp_;
    }
    ++stamp_;
    const uint32_t argStamp = stamp_ - 1;
    for (uint32_t l : p.locals) {
      const uint32_t f = t_.folded(node(l));
      if (markLocal_[f] == stamp_) {
        param(LintRule::kVarDuplicateLocal, node(l), false);
        continue;
      }
      markLocal_[f] = stamp_;
      if (markArg_[f] == argStamp) param(LintRule::kVarArgAndLocal, node(l), false);
    }
    // Unused: no symbol of the name anywhere in the body, quoted data included.
    const uint32_t from = paramList == kNone ? kNone : t_.endToken(node(paramList)) + 1;
    const uint32_t to = form.lastToken;
    auto unused = [&](uint32_t f) { return from == kNone || from > to || !t_.occursBetween(f, from, to); };
    ++stamp_;
    if (isDefun)
      for (uint32_t a : p.args) {
        const uint32_t f = t_.folded(node(a));
        if (markArg_[f] == stamp_) continue;
        markArg_[f] = stamp_;
        if (unused(f)) param(LintRule::kVarUnusedArg, node(a), true);
      }
    for (uint32_t l : p.locals) {
      const uint32_t f = t_.folded(node(l));
      if (markLocal_[f] == stamp_) continue;
      markLocal_[f] = stamp_;
      if (unused(f)) param(LintRule::kVarUnusedLocal, node(l), false);
    }

    scopes_.push_back({binds_.size(), function});
    for (uint32_t a : p.args) bind(t_.folded(node(a)));
    for (uint32_t l : p.locals) bind(t_.folded(node(l)));
    work_.push_back({0, Mode::kPop});
    pushChildren(bodyFirst, Mode::kCode);
  }

  void param(LintRule rule, const Node& n, bool argument) {
    out_.params.push_back({rule, rangeOf(n), n.value(), label_.first, argument, label_.second});
  }

  bool excluded(uint32_t f, TextView name) {
    if (excluded_[f] < 0)
      excluded_[f] = (jogaiContains(o_.exclusions, name) || o_.globals.matches(name)) ? 1 : 0;
    return excluded_[f] == 1;
  }

  void write(const Node& n) {
    const uint32_t f = t_.folded(n);
    const uint32_t fn = currentFunction();
    if (boundCount_[f] > 0 || fn == kNone) return;  // bound, or a file global by design
    if (excluded(f, t_.text(n))) return;
    if (!written_.insert((uint64_t(fn) << 32) | f).second) return;
    out_.undeclared.push_back({f, n.value(), rangeOf(n), fn});
  }

  const Tree& t_;
  const LintOptions& o_;
  FileLint out_;
  std::vector<Work> work_, scratch_;
  std::vector<Scope> scopes_;
  std::vector<uint32_t> binds_, boundCount_, markArg_, markLocal_;
  std::vector<int8_t> excluded_;
  uint32_t stamp_ = 0;
  std::unordered_set<uint64_t> written_;
  Params params_;
  std::pair<uint32_t, bool> label_{0, false};  // the function whose parameters are judged
};

}  // namespace

FileLint lintTree(const Tree& tree, const LintOptions& options) { return Walker(tree, options).run(); }

FileLint lintLines(std::span<const Text> lines, const LintOptions& options) {
  const Tree tree = read(lines);
  return lintTree(tree, options);
}

}  // namespace quenlit::lint
