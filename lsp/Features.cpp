#include "Features.h"

#include <algorithm>
#include <set>

#include "checks/ExclusionList.h"
#include "reports/Description.h"

namespace quenlit::lsp {

namespace {

using syntax::kNone;
using syntax::Node;
using syntax::NodeKind;
using syntax::Token;
using syntax::TokenKind;

// A document's tree with the links the tree itself does not keep.
struct Parsed {
  syntax::Tree tree;
  std::vector<uint32_t> parent;  // node -> the list, quote or root holding it
  std::vector<uint32_t> atomOf;  // token -> the atom node standing on it
  // Node -> the nearest enclosing form that binds names (defun, lambda, foreach,
  // vlax-for): lookups climb these only, so deep nesting stays linear.
  std::vector<uint32_t> scopeOf;
  std::vector<bool> inQuote;  // node -> stands in quoted data

  explicit Parsed(const TextList& lines) : tree(syntax::read(lines)) {
    parent.assign(tree.nodes.size(), kNone);
    atomOf.assign(tree.tokens.size(), kNone);
    for (uint32_t i = 0; i < tree.nodes.size(); ++i) {
      const Node& n = tree.nodes[i];
      for (uint32_t c = tree.firstChild(n); c != kNone; c = tree.nodes[c].next) parent[c] = i;
      const NodeKind k = n.kind();
      if ((k == NodeKind::kSymbol || k == NodeKind::kNumber || k == NodeKind::kString) && n.token != kNone)
        atomOf[n.token] = i;
    }
    // Parents come before their children.
    scopeOf.assign(tree.nodes.size(), kNone);
    inQuote.assign(tree.nodes.size(), false);
    for (uint32_t i = 1; i < tree.nodes.size(); ++i) {
      const uint32_t p = parent[i];
      if (p == kNone) continue;
      const uint32_t h = headFolded(p);
      const bool binds = h == syntax::kDefun || h == syntax::kDefunQ || h == syntax::kLambda || h == syntax::kForeach ||
                         h == syntax::kVlaxFor;
      scopeOf[i] = binds ? p : scopeOf[p];
      inQuote[i] = inQuote[p] || node(p).kind() == NodeKind::kQuote || h == syntax::kQuoteSym;
    }
  }
  const Node& node(uint32_t i) const { return tree.nodes[i]; }
  bool isSymbol(uint32_t i) const { return i != kNone && node(i).kind() == NodeKind::kSymbol; }
  uint32_t child(uint32_t list, int k) const {
    uint32_t c = tree.firstChild(node(list));
    for (; c != kNone && k > 0; --k) c = node(c).next;
    return c;
  }
  uint32_t headFolded(uint32_t list) const {
    if (list == kNone || node(list).kind() != NodeKind::kList) return kNone;
    const uint32_t h = child(list, 0);
    return isSymbol(h) ? tree.folded(node(h)) : kNone;
  }
  bool isDefun(uint32_t list) const {
    const uint32_t h = headFolded(list);
    return h == syntax::kDefun || h == syntax::kDefunQ;
  }
  Text spelling(uint32_t i) const { return Text(tree.text(node(i))); }
  const Token& token(uint32_t i) const { return tree.tokens[node(i).token]; }
  const Token& lastToken(uint32_t i) const { return tree.tokens[tree.endToken(node(i))]; }

  // The symbol at or right after which `p` stands.
  uint32_t symbolAt(Pos p) const {
    const auto& toks = tree.tokens;
    auto it = std::upper_bound(toks.begin(), toks.end(), p, [](Pos q, const Token& t) {
      return q.line < t.line || (q.line == t.line && q.column < t.column);
    });
    if (it == toks.begin()) return kNone;
    const uint32_t t = uint32_t(it - toks.begin() - 1);
    const Token& tok = toks[t];
    if (tok.kind() != TokenKind::kSymbol || tok.line != p.line || p.column > tok.endColumn) return kNone;
    return atomOf[t];
  }

  // The symbol that binds the variable `sym` stands for: an argument, a local, a
  // lambda parameter or a loop variable of an enclosing form; kNone for none.
  uint32_t declaration(uint32_t sym, uint32_t* scope = nullptr) const {
    if (!isSymbol(sym)) return kNone;
    const uint32_t f = tree.folded(node(sym));
    for (uint32_t p = scopeOf[sym]; p != kNone; p = scopeOf[p]) {
      const uint32_t h = headFolded(p);
      uint32_t params = kNone;
      if (h == syntax::kDefun || h == syntax::kDefunQ) {
        if (sym == child(p, 1)) return kNone;  // the defun's name is no variable
        params = child(p, 2);
      } else if (h == syntax::kLambda) {
        params = child(p, 1);
      } else {
        const uint32_t var = child(p, 1);
        // The list expression is read outside the loop's scope.
        if (isSymbol(var) && tree.folded(node(var)) == f && !within(sym, child(p, 2))) {
          if (scope) *scope = p;
          return var;
        }
        continue;
      }
      if (params == kNone || node(params).kind() != NodeKind::kList) continue;
      for (uint32_t c = tree.firstChild(node(params)); c != kNone; c = node(c).next)
        if (isSymbol(c) && tree.folded(node(c)) == f && tree.folded(node(c)) != syntax::kSlash) {
          if (scope) *scope = p;
          return c;
        }
    }
    return kNone;
  }

  bool within(uint32_t n, uint32_t container) const {
    if (container == kNone) return false;
    const uint32_t t = node(n).token;
    return t >= node(container).token && t <= tree.endToken(node(container));
  }

  uint32_t enclosingFunction(uint32_t n, bool lambdaToo) const {
    for (uint32_t p = scopeOf[n]; p != kNone; p = scopeOf[p])
      if (isDefun(p) || (lambdaToo && headFolded(p) == syntax::kLambda)) return p;
    return kNone;
  }
};

Json location(Workspace& ws, const Document& doc, const Token& t) {
  return {{"uri", doc.uri}, {"range", ws.range(doc, t, t)}};
}

struct FunctionPlace {
  Document* doc;
  const lint::FileLint::Definition* def;
};

// Top-level definitions first, then nested ones; files in the workspace's order.
std::vector<FunctionPlace> definitionsOf(Workspace& ws, TextView name) {
  const Text upper = toUpperAscii(name);
  std::vector<FunctionPlace> top, nested;
  for (auto& [key, doc] : ws.documents()) {
    const lint::FileLint& facts = ws.facts(doc);
    for (const auto& d : facts.definitions)
      if (facts.folded[d.name] == upper) (d.topLevel ? top : nested).push_back({&doc, &d});
  }
  top.insert(top.end(), nested.begin(), nested.end());
  return top;
}

// Every symbol of the workspace standing for the user function `name`: calls,
// quoted references and the definitions' names; names bound as variables are not it.
std::vector<Json> functionUses(Workspace& ws, TextView name, bool includeDeclaration, const Document* only) {
  std::vector<Json> out;
  for (auto& [key, doc] : ws.documents()) {
    if (only && &doc != only) continue;
    Parsed parsed(doc.lines);
    const uint32_t f = parsed.tree.findFolded(name);
    if (f == kNone) continue;
    for (uint32_t t : parsed.tree.occurrences(f)) {
      const uint32_t n = parsed.atomOf[t];
      if (n == kNone || parsed.declaration(n) != kNone) continue;
      const uint32_t p = parsed.parent[n];
      const bool isName = p != kNone && parsed.isDefun(p) && parsed.child(p, 1) == n;
      if (isName && !includeDeclaration) continue;
      out.push_back(location(ws, doc, parsed.tree.tokens[t]));
    }
  }
  return out;
}

std::vector<Json> variableUses(Workspace& ws, Document& doc, const Parsed& parsed, uint32_t decl, uint32_t scope,
                               bool includeDeclaration) {
  std::vector<Json> out;
  const uint32_t f = parsed.tree.folded(parsed.node(decl));
  const uint32_t first = parsed.node(scope).token, last = parsed.tree.endToken(parsed.node(scope));
  for (uint32_t t : parsed.tree.occurrences(f)) {
    if (t < first || t > last) continue;
    const uint32_t n = parsed.atomOf[t];
    if (n == kNone || parsed.declaration(n) != decl) continue;
    if (n == decl && !includeDeclaration) continue;
    out.push_back(location(ws, doc, parsed.tree.tokens[t]));
  }
  return out;
}

// Signatures and descriptions of the built-ins, for hover.
struct BuiltinDoc {
  const char* name;  // lower case
  const char* signatures;
  const char* description;
};
constexpr BuiltinDoc kBuiltinDocs[] = {
#include "BuiltinDocs.inc"
};

const BuiltinDoc* builtinDoc(TextView name) {
  const std::string lower = [&] {
    std::string s = toUtf8(name);
    for (char& c : s)
      if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    return s;
  }();
  const auto* end = std::end(kBuiltinDocs);
  const auto* it = std::lower_bound(std::begin(kBuiltinDocs), end, lower,
                                    [](const BuiltinDoc& d, const std::string& n) { return std::string_view(d.name) < n; });
  return it != end && lower == it->name ? it : nullptr;
}

Json markdownBlock(const TextList& lines) {
  std::string text = "```autolisp\n";
  for (const Text& l : lines) text += toUtf8(l) + "\n";
  text += "```";
  return {{"kind", "markdown"}, {"value", text}};
}

}  // namespace

Json documentSymbols(Workspace& ws, Document& doc) {
  Parsed parsed(doc.lines);
  struct Item {
    uint32_t list;
    size_t parent;  // index into items, or npos
    Json json;
  };
  std::vector<Item> items;
  std::vector<size_t> itemOf(parsed.tree.nodes.size(), size_t(-1));
  for (uint32_t i = 0; i < parsed.tree.nodes.size(); ++i) {
    if (!parsed.isDefun(i)) continue;
    const uint32_t name = parsed.child(i, 1);
    if (!parsed.isSymbol(name)) continue;
    const uint32_t params = parsed.child(i, 2);
    std::string detail = "()";
    if (params != kNone) {
      const Token& a = parsed.token(params);
      const Token& b = parsed.lastToken(params);
      if (a.line == b.endLine()) detail = toUtf8(TextView(doc.lines[a.line]).substr(a.column, b.endColumn - a.column));
      else detail = toUtf8(TextView(doc.lines[a.line]).substr(a.column)) + " ...";
    }
    const Text spelled = parsed.spelling(name);
    const bool command = spelled.size() > 2 && (spelled[0] | 0x20) == u'c' && spelled[1] == u':';
    Json sym = {{"name", toUtf8(spelled)},
                {"detail", detail},
                {"kind", command ? 24 : 12},  // Event for commands, Function for functions
                {"range", ws.range(doc, parsed.token(i), parsed.lastToken(i))},
                {"selectionRange", ws.range(doc, parsed.token(name), parsed.token(name))},
                {"children", Json::array()}};
    size_t parent = size_t(-1);
    const uint32_t outer = parsed.enclosingFunction(i, false);
    if (outer != kNone) parent = itemOf[outer];
    itemOf[i] = items.size();
    items.push_back({i, parent, std::move(sym)});
  }
  // Nodes come in source order with parents first: fold children in from the back.
  Json roots = Json::array();
  for (size_t k = items.size(); k-- > 0;) {
    Json& children = items[k].json["children"];
    std::reverse(children.begin(), children.end());
    if (items[k].parent == size_t(-1)) roots.push_back(std::move(items[k].json));
    else items[items[k].parent].json["children"].push_back(std::move(items[k].json));
  }
  std::reverse(roots.begin(), roots.end());
  return roots;
}

Json definition(Workspace& ws, Document& doc, const Json& position) {
  Parsed parsed(doc.lines);
  const uint32_t sym = parsed.symbolAt(ws.clamp(doc, position));
  if (sym == kNone) return nullptr;
  if (const uint32_t decl = parsed.declaration(sym); decl != kNone) return location(ws, doc, parsed.token(decl));
  Json out = Json::array();
  for (const FunctionPlace& p : definitionsOf(ws, parsed.spelling(sym)))
    out.push_back({{"uri", p.doc->uri}, {"range", ws.range(*p.doc, p.def->range)}});
  return out.empty() ? Json(nullptr) : out;
}

Json references(Workspace& ws, Document& doc, const Json& position, bool includeDeclaration) {
  Parsed parsed(doc.lines);
  const uint32_t sym = parsed.symbolAt(ws.clamp(doc, position));
  if (sym == kNone) return nullptr;
  uint32_t scope = kNone;
  const uint32_t decl = parsed.declaration(sym, &scope);
  if (decl != kNone) return variableUses(ws, doc, parsed, decl, scope, includeDeclaration);
  const Text name = parsed.spelling(sym);
  if (definitionsOf(ws, name).empty()) return nullptr;
  return functionUses(ws, name, includeDeclaration, nullptr);
}

Json documentHighlight(Workspace& ws, Document& doc, const Json& position) {
  Parsed parsed(doc.lines);
  const uint32_t sym = parsed.symbolAt(ws.clamp(doc, position));
  if (sym == kNone) return nullptr;
  uint32_t scope = kNone;
  const uint32_t decl = parsed.declaration(sym, &scope);
  std::vector<Json> places = decl != kNone ? variableUses(ws, doc, parsed, decl, scope, true)
                                           : functionUses(ws, parsed.spelling(sym), true, &doc);
  Json out = Json::array();
  for (Json& p : places) out.push_back({{"range", std::move(p["range"])}});
  return out;
}

Json hover(Workspace& ws, Document& doc, const Json& position) {
  Parsed parsed(doc.lines);
  const uint32_t sym = parsed.symbolAt(ws.clamp(doc, position));
  if (sym == kNone) return nullptr;
  const Json range = ws.range(doc, parsed.token(sym), parsed.token(sym));
  const Text name = parsed.spelling(sym);
  if (uint32_t scope = kNone, decl = parsed.declaration(sym, &scope); decl != kNone) {
    const uint32_t h = parsed.headFolded(scope);
    std::string what = h == syntax::kForeach || h == syntax::kVlaxFor ? "loop variable" : "variable";
    if (h != syntax::kForeach && h != syntax::kVlaxFor) {
      bool local = false;
      for (uint32_t c = parsed.child(parsed.parent[decl], 0); c != decl && c != kNone; c = parsed.node(c).next)
        local = local || (parsed.isSymbol(c) && parsed.tree.folded(parsed.node(c)) == syntax::kSlash);
      what = local ? "local" : (h == syntax::kLambda ? "lambda parameter" : "argument");
    }
    std::string of;
    if (parsed.isDefun(scope)) of = " of " + toUtf8(parsed.spelling(parsed.child(scope, 1)));
    return {{"contents", {{"kind", "markdown"}, {"value", "`" + toUtf8(name) + "`: " + what + of}}}, {"range", range}};
  }
  const auto places = definitionsOf(ws, name);
  if (!places.empty()) {
    const FunctionPlace& p = places.front();
    TextList lines = functionDescription(p.doc->lines, p.def->range.line - 1);
    if (lines.empty()) lines.push_back(name);
    return {{"contents", markdownBlock(lines)}, {"range", range}};
  }
  if (const lint::Signature* s = lint::findSignature(name)) {
    std::string counts = s->maxArgs < 0           ? std::to_string(s->minArgs) + " or more arguments"
                         : s->minArgs == s->maxArgs ? std::to_string(s->minArgs) + (s->minArgs == 1 ? " argument" : " arguments")
                                                    : std::to_string(s->minArgs) + " to " + std::to_string(s->maxArgs) + " arguments";
    std::string text = "`" + toUtf8(Text(s->name)) + "`: built-in function, " + counts;
    if (const BuiltinDoc* doc = builtinDoc(name))
      text = std::string("```autolisp\n") + doc->signatures + "\n```\n" + doc->description + "\n\n" + text;
    return {{"contents", {{"kind", "markdown"}, {"value", text}}}, {"range", range}};
  }
  return nullptr;
}

namespace {

Json textEdit(Workspace& ws, const Document& doc, uint32_t line, uint32_t col, uint32_t endLine, uint32_t endCol,
              const Text& text) {
  return {{"range", {{"start", ws.position(doc, line, col)}, {"end", ws.position(doc, endLine, endCol)}}},
          {"newText", toUtf8(text)}};
}

bool overlaps(const syntax::Range& r, Pos from, Pos to) {
  return !(uint32_t(r.endLine - 1) < from.line || uint32_t(r.line - 1) > to.line);
}

// The edit that adds `names` to the locals of `defun`; null when its parameter
// list cannot take them (it is missing or never closed).
Json declareEdit(Workspace& ws, const Document& doc, const Parsed& parsed, uint32_t defun, const TextList& names) {
  const uint32_t params = parsed.child(defun, parsed.isDefun(defun) ? 2 : 1);
  if (params == kNone) return nullptr;
  Text joined;
  for (const Text& n : names) joined += (joined.empty() ? u"" : u" ") + n;
  const Node& p = parsed.node(params);
  if (p.kind() == NodeKind::kSymbol && parsed.tree.folded(p) == syntax::kNil) {
    const Token& t = parsed.token(params);
    return textEdit(ws, doc, t.line, t.column, t.endLine(), t.endColumn, u"(/ " + joined + u")");
  }
  if (p.kind() != NodeKind::kList || !p.closed()) return nullptr;
  bool slash = false, any = false;
  for (uint32_t c = parsed.tree.firstChild(p); c != kNone; c = parsed.node(c).next) {
    any = true;
    slash = slash || (parsed.isSymbol(c) && parsed.tree.folded(parsed.node(c)) == syntax::kSlash);
  }
  const Token& close = parsed.tree.tokens[p.lastToken];
  const Text text = slash ? u" " + joined : (any ? u" / " + joined : u"/ " + joined);
  return textEdit(ws, doc, close.line, close.column, close.line, close.column, text);
}

// The edit that takes the local `sym` out of its list, with the `/` when it was the only local.
Json removeLocalEdit(Workspace& ws, const Document& doc, const Parsed& parsed, uint32_t sym) {
  const uint32_t params = parsed.parent[sym];
  if (params == kNone || parsed.node(params).kind() != NodeKind::kList) return nullptr;
  std::vector<uint32_t> kids;
  size_t slash = size_t(-1), at = size_t(-1);
  for (uint32_t c = parsed.tree.firstChild(parsed.node(params)); c != kNone; c = parsed.node(c).next) {
    if (slash == size_t(-1) && parsed.isSymbol(c) && parsed.tree.folded(parsed.node(c)) == syntax::kSlash)
      slash = kids.size();
    if (c == sym) at = kids.size();
    kids.push_back(c);
  }
  if (at == size_t(-1) || slash == size_t(-1) || at < slash) return nullptr;
  const size_t from = kids.size() - slash == 2 ? slash : at;  // the only local: its '/' goes too
  const Token& startAfter = from == 0 ? parsed.token(params) : parsed.lastToken(kids[from - 1]);
  const Token& end = parsed.lastToken(sym);
  return textEdit(ws, doc, startAfter.endLine(), startAfter.endColumn, end.endLine(), end.endColumn, Text());
}

Json action(const std::string& title, const std::string& uri, Json edit, bool preferred) {
  return {{"title", title},
          {"kind", "quickfix"},
          {"isPreferred", preferred},
          {"edit", {{"changes", {{uri, Json::array({std::move(edit)})}}}}}};
}

}  // namespace

Json codeActions(Workspace& ws, Document& doc, const Json& range) {
  Json out = Json::array();
  if (!range.is_object() || !range.contains("start") || !range.contains("end")) return out;
  const Pos from = ws.clamp(doc, range["start"]), to = ws.clamp(doc, range["end"]);
  Parsed parsed(doc.lines);
  std::vector<uint32_t> fixedFunctions;
  for (const lint::LintFinding& f : doc.findings) {
    if (!overlaps(f.range, from, to)) continue;
    const uint32_t sym = parsed.symbolAt({uint32_t(f.range.line - 1), uint32_t(f.range.column - 1)});
    if (sym == kNone) continue;
    const std::string name = toUtf8(f.symbol);
    if (f.rule == lint::LintRule::kVarUndeclared) {
      const uint32_t fn = parsed.enclosingFunction(sym, false) != kNone ? parsed.enclosingFunction(sym, false)
                                                                        : parsed.enclosingFunction(sym, true);
      if (fn == kNone) continue;
      const std::string fname = parsed.isDefun(fn) ? toUtf8(parsed.spelling(parsed.child(fn, 1))) : "lambda";
      Json edit = declareEdit(ws, doc, parsed, fn, {f.symbol});
      if (edit.is_null()) continue;
      out.push_back(action("declare " + name + " local to " + fname, doc.uri, std::move(edit), true));
      if (std::find(fixedFunctions.begin(), fixedFunctions.end(), fn) != fixedFunctions.end()) continue;
      fixedFunctions.push_back(fn);
      // Every undeclared variable of that function at once, when there are several.
      TextList names;
      const uint32_t first = parsed.node(fn).token, last = parsed.tree.endToken(parsed.node(fn));
      for (const lint::LintFinding& g : doc.findings) {
        if (g.rule != lint::LintRule::kVarUndeclared) continue;
        const uint32_t s = parsed.symbolAt({uint32_t(g.range.line - 1), uint32_t(g.range.column - 1)});
        if (s == kNone || parsed.node(s).token < first || parsed.node(s).token > last) continue;
        const uint32_t owner = parsed.enclosingFunction(s, false) != kNone ? parsed.enclosingFunction(s, false)
                                                                           : parsed.enclosingFunction(s, true);
        if (owner == fn) names.push_back(g.symbol);
      }
      if (names.size() > 1)
        if (Json all = declareEdit(ws, doc, parsed, fn, names); !all.is_null())
          out.push_back(action("declare every undeclared variable of " + fname, doc.uri, std::move(all), false));
    } else if (f.rule == lint::LintRule::kVarUnusedLocal) {
      Json edit = removeLocalEdit(ws, doc, parsed, sym);
      if (!edit.is_null()) out.push_back(action("remove unused local " + name, doc.uri, std::move(edit), true));
    }
  }
  return out;
}

Json foldingRanges(Workspace& ws, Document& doc) {
  (void)ws;
  Parsed parsed(doc.lines);
  Json out = Json::array();
  for (uint32_t i = 0; i < parsed.tree.nodes.size(); ++i) {
    if (!parsed.isDefun(i)) continue;
    const uint32_t a = parsed.token(i).line, b = parsed.lastToken(i).endLine();
    if (b > a) out.push_back({{"startLine", a}, {"endLine", b}});
  }
  for (const Token& t : parsed.tree.tokens)
    if (t.kind() == TokenKind::kBlockComment && t.endLine() > t.line)
      out.push_back({{"startLine", t.line}, {"endLine", t.endLine()}, {"kind", "comment"}});
  return out;
}

namespace {
enum SemanticType : uint32_t { kFunctionType, kParameterType, kVariableType };
enum SemanticModifier : uint32_t { kDeclaration = 1, kDefaultLibrary = 2, kGlobal = 4 };
}  // namespace

Json semanticTokensLegend() {
  return {{"tokenTypes", Json::array({"function", "parameter", "variable"})},
          {"tokenModifiers", Json::array({"declaration", "defaultLibrary", "global"})}};
}

std::vector<uint32_t> semanticTokens(Workspace& ws, Document& doc) {
  Parsed parsed(doc.lines);
  std::set<Text> userFunctions;
  for (auto& [key, other] : ws.documents()) {
    const lint::FileLint& facts = ws.facts(other);
    for (const auto& d : facts.definitions) userFunctions.insert(Text(facts.folded[d.name]));
  }
  auto quoted = [&](uint32_t n) { return bool(parsed.inQuote[n]); };
  std::vector<uint32_t> data;
  uint32_t lastLine = 0, lastStart = 0;
  for (uint32_t t = 0; t < parsed.tree.tokens.size(); ++t) {
    const Token& tok = parsed.tree.tokens[t];
    const uint32_t n = parsed.atomOf[t];
    if (!parsed.isSymbol(n) || tok.endLine() != tok.line) continue;
    uint32_t type = kNone, modifiers = 0;
    uint32_t scope = kNone;
    if (const uint32_t decl = parsed.declaration(n, &scope); decl != kNone) {
      const uint32_t h = parsed.headFolded(scope);
      bool local = h == syntax::kForeach || h == syntax::kVlaxFor;
      if (!local)
        for (uint32_t c = parsed.child(parsed.parent[decl], 0); c != decl && c != kNone; c = parsed.node(c).next)
          local = local || (parsed.isSymbol(c) && parsed.tree.folded(parsed.node(c)) == syntax::kSlash);
      type = local ? kVariableType : kParameterType;
      if (n == decl) modifiers |= kDeclaration;
    } else if (!quoted(n)) {
      const Text name = parsed.spelling(n);
      const uint32_t p = parsed.parent[n];
      const uint32_t gp = p == kNone ? kNone : parsed.parent[p];
      const bool paramList = gp != kNone && ((parsed.isDefun(gp) && parsed.child(gp, 2) == p) ||
                                             (parsed.headFolded(gp) == syntax::kLambda && parsed.child(gp, 1) == p));
      const bool head = p != kNone && parsed.child(p, 0) == n && !paramList && parsed.headFolded(gp) != syntax::kCond;
      const bool defName = p != kNone && parsed.isDefun(p) && parsed.child(p, 1) == n;
      if (userFunctions.count(toUpperAscii(name)) && (head || defName)) {
        type = kFunctionType;
        if (defName) modifiers |= kDeclaration;
      } else if (head && (lint::findSignature(name) || ws.lintOptions().builtins.contains(name))) {
        type = kFunctionType;
        modifiers |= kDefaultLibrary;
      } else if (!head && !defName && !paramList && !jogaiContains(ws.lintOptions().exclusions, name) &&
                 !lint::findSignature(name) && !userFunctions.count(toUpperAscii(name))) {
        type = kVariableType;
        modifiers |= kGlobal;
      }
    }
    if (type == kNone) continue;
    const Json from = ws.position(doc, tok.line, tok.column), to = ws.position(doc, tok.line, tok.endColumn);
    const uint32_t start = from["character"].get<uint32_t>();
    data.insert(data.end(), {tok.line - lastLine, tok.line == lastLine ? start - lastStart : start,
                             to["character"].get<uint32_t>() - start, type, modifiers});
    lastLine = tok.line;
    lastStart = start;
  }
  return data;
}

Json workspaceSymbols(Workspace& ws, const std::string& query) {
  const Text wanted = toUpperAscii(fromUtf8Lenient(query));
  Json out = Json::array();
  for (auto& [key, doc] : ws.documents()) {
    const lint::FileLint& facts = ws.facts(doc);
    for (const auto& d : facts.definitions) {
      if (!wanted.empty() && facts.folded[d.name].find(wanted) == TextView::npos) continue;
      const TextView name = facts.spellings[d.spelling];
      const bool command = name.size() > 2 && (name[0] | 0x20) == u'c' && name[1] == u':';
      out.push_back({{"name", toUtf8(name)},
                     {"kind", command ? 24 : 12},
                     {"location", {{"uri", doc.uri}, {"range", ws.range(doc, d.range)}}}});
      if (out.size() >= 1000) return out;
    }
  }
  return out;
}

namespace {

// The symbol text before the cursor on its line.
Text prefixAt(const Document& doc, Pos p) {
  const Text& line = doc.lines[p.line];
  size_t from = p.column;
  while (from > 0) {
    const char16_t c = line[from - 1];
    if (c <= u' ' || c == u'(' || c == u')' || c == u'\'' || c == u'"' || c == u';') break;
    --from;
  }
  return line.substr(from, p.column - from);
}

// The innermost list whose tokens surround the position.
uint32_t listAround(const Parsed& parsed, Pos p) {
  uint32_t best = kNone;
  for (uint32_t i = 1; i < parsed.tree.nodes.size(); ++i) {
    const Node& n = parsed.node(i);
    if (n.kind() != NodeKind::kList) continue;
    const Token& a = parsed.tree.tokens[n.token];
    const Token& b = parsed.tree.tokens[parsed.tree.endToken(n)];
    const bool after = a.line < p.line || (a.line == p.line && a.column < p.column);
    const bool before = !n.closed() || b.line > p.line || (b.line == p.line && b.column >= p.column);
    if (after && before) best = i;  // lists come outer first
    else if (!after) break;
  }
  return best;
}

std::string countText(const lint::Signature& s) {
  if (s.maxArgs < 0) return std::to_string(s.minArgs) + " or more arguments";
  if (s.minArgs == s.maxArgs) return std::to_string(s.minArgs) + (s.minArgs == 1 ? " argument" : " arguments");
  return std::to_string(s.minArgs) + " to " + std::to_string(s.maxArgs) + " arguments";
}

}  // namespace

Json completion(Workspace& ws, Document& doc, const Json& position) {
  const Pos p = ws.clamp(doc, position);
  const Text prefix = toUpperAscii(prefixAt(doc, p));
  Parsed parsed(doc.lines);
  Json items = Json::array();
  std::set<Text> seen;
  auto add = [&](TextView name, int kind, const std::string& detail) {
    const Text upper = toUpperAscii(name);
    if (upper.compare(0, prefix.size(), prefix) != 0 || !seen.insert(upper).second) return;
    items.push_back({{"label", toUtf8(name)}, {"kind", kind}, {"detail", detail}});
  };
  // Variables of the enclosing scopes, innermost first.
  for (uint32_t l = listAround(parsed, p); l != kNone; l = parsed.parent[l]) {
    const uint32_t h = parsed.headFolded(l);
    uint32_t params = kNone;
    if (h == syntax::kDefun || h == syntax::kDefunQ) params = parsed.child(l, 2);
    else if (h == syntax::kLambda) params = parsed.child(l, 1);
    else if ((h == syntax::kForeach || h == syntax::kVlaxFor) && parsed.isSymbol(parsed.child(l, 1)))
      add(parsed.spelling(parsed.child(l, 1)), 6, "loop variable");
    if (params == kNone || parsed.node(params).kind() != NodeKind::kList) continue;
    bool local = false;
    for (uint32_t c = parsed.tree.firstChild(parsed.node(params)); c != kNone; c = parsed.node(c).next) {
      if (!parsed.isSymbol(c)) continue;
      if (parsed.tree.folded(parsed.node(c)) == syntax::kSlash) local = true;
      else add(parsed.spelling(c), 6, local ? "local" : "argument");
    }
  }
  for (auto& [key, other] : ws.documents()) {
    const lint::FileLint& facts = ws.facts(other);
    for (const auto& d : facts.definitions)
      add(facts.spellings[d.spelling], 3, "user function, " + std::to_string(d.arguments) + (d.arguments == 1 ? " argument" : " arguments"));
  }
  for (const Text& name : ws.builtinNames()) {
    const lint::Signature* s = lint::findSignature(name);
    add(name, 3, s ? "built-in, " + countText(*s) : "built-in");
  }
  return {{"isIncomplete", false}, {"items", items}};
}

Json signatureHelp(Workspace& ws, Document& doc, const Json& position) {
  const Pos p = ws.clamp(doc, position);
  Parsed parsed(doc.lines);
  const uint32_t list = listAround(parsed, p);
  if (list == kNone) return nullptr;
  const uint32_t head = parsed.child(list, 0);
  if (!parsed.isSymbol(head)) return nullptr;
  // The argument the cursor is in: the elements after the head that start before it.
  int active = -1;
  for (uint32_t c = parsed.node(head).next; c != kNone; c = parsed.node(c).next) {
    const Token& t = parsed.token(c);
    if (t.line > p.line || (t.line == p.line && t.column >= p.column)) break;
    ++active;
  }
  const Token& headEnd = parsed.token(head);
  if (headEnd.line == p.line && p.column <= headEnd.endColumn) return nullptr;  // still typing the name
  const Text name = parsed.spelling(head);
  const auto places = definitionsOf(ws, name);
  if (!places.empty()) {
    Parsed def(places.front().doc->lines);
    const syntax::Range& r = places.front().def->range;
    const uint32_t sym = def.symbolAt({uint32_t(r.line - 1), uint32_t(r.column - 1)});
    const uint32_t params = sym == kNone ? kNone : def.node(sym).next;
    std::string label = "(" + toUtf8(name);
    Json parameters = Json::array();
    if (params != kNone && def.node(params).kind() == NodeKind::kList)
      for (uint32_t c = def.tree.firstChild(def.node(params)); c != kNone; c = def.node(c).next) {
        if (!def.isSymbol(c)) continue;
        if (def.tree.folded(def.node(c)) == syntax::kSlash) break;
        const std::string arg = toUtf8(def.spelling(c));
        parameters.push_back({{"label", arg}});
        label += " " + arg;
      }
    label += ")";
    const int count = int(parameters.size());
    return {{"signatures", Json::array({{{"label", label}, {"parameters", parameters}}})},
            {"activeSignature", 0},
            {"activeParameter", std::max(0, std::min(active + 1, count - 1))}};
  }
  if (const lint::Signature* s = lint::findSignature(name))
    return {{"signatures", Json::array({{{"label", "(" + toUtf8(Text(s->name)) + " ...)"}, {"documentation", "built-in, " + countText(*s)}}})},
            {"activeSignature", 0}};
  return nullptr;
}

namespace {

// What a rename at `position` would rename: the variable's declaration and scope,
// or the user function's name.
struct RenameTarget {
  uint32_t sym = kNone, decl = kNone, scope = kNone;
  Text name;
};

RenameTarget renameTarget(Workspace& ws, Document& doc, const Parsed& parsed, const Json& position) {
  RenameTarget t;
  t.sym = parsed.symbolAt(ws.clamp(doc, position));
  if (t.sym == kNone) throw RenameRefused{"no name here"};
  t.name = parsed.spelling(t.sym);
  t.decl = parsed.declaration(t.sym, &t.scope);
  if (t.decl != kNone) return t;
  if (!definitionsOf(ws, t.name).empty()) return t;
  if (lint::findSignature(t.name) || ws.lintOptions().builtins.contains(t.name))
    throw RenameRefused{"'" + toUtf8(t.name) + "' is a built-in function"};
  throw RenameRefused{"'" + toUtf8(t.name) + "' is neither a variable with a declaration nor a user function"};
}

bool isSymbolName(TextView name) {
  if (name.empty() || syntax::isNumber(name)) return false;
  for (char16_t c : name)
    if (c <= u' ' || c == u'(' || c == u')' || c == u'\'' || c == u'"' || c == u';') return false;
  return true;
}

}  // namespace

Json prepareRename(Workspace& ws, Document& doc, const Json& position) {
  Parsed parsed(doc.lines);
  const RenameTarget t = renameTarget(ws, doc, parsed, position);
  return {{"range", ws.range(doc, parsed.token(t.sym), parsed.token(t.sym))}, {"placeholder", toUtf8(t.name)}};
}

Json rename(Workspace& ws, Document& doc, const Json& position, const std::string& newName) {
  Parsed parsed(doc.lines);
  const RenameTarget t = renameTarget(ws, doc, parsed, position);
  const Text to = fromUtf8Lenient(newName);
  if (!isSymbolName(to)) throw RenameRefused{"'" + newName + "' is no AutoLISP symbol"};
  std::vector<Json> places;
  if (t.decl != kNone) {
    // Any symbol of the new name inside the scope would be captured or would capture.
    const uint32_t f = parsed.tree.findFolded(to);
    if (f != kNone && parsed.tree.occursBetween(f, parsed.node(t.scope).token, parsed.tree.endToken(parsed.node(t.scope))))
      throw RenameRefused{"'" + newName + "' is already used inside that scope"};
    places = variableUses(ws, doc, parsed, t.decl, t.scope, true);
  } else {
    if (!definitionsOf(ws, to).empty()) throw RenameRefused{"a function '" + newName + "' exists already"};
    if (lint::findSignature(to) || ws.lintOptions().builtins.contains(to))
      throw RenameRefused{"'" + newName + "' is a built-in function"};
    places = functionUses(ws, t.name, true, nullptr);
  }
  Json changes = Json::object();
  for (Json& p : places) changes[p["uri"].get<std::string>()].push_back({{"range", std::move(p["range"])}, {"newText", newName}});
  return {{"changes", changes}};
}

}  // namespace quenlit::lsp
