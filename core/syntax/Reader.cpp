#include <algorithm>

#include "syntax/Syntax.h"

namespace quenlit::syntax {

namespace {

constexpr char16_t kUpper(char16_t c) { return (c >= u'a' && c <= u'z') ? char16_t(c - 32) : c; }

bool isSeparator(char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n'; }
// The characters that end an atom, as a table: the scan's inner loop.
struct AtomEnds {
  bool ends[128] = {};
  constexpr AtomEnds() {
    for (char16_t c : {u' ', u'\t', u'\r', u'\n', u'(', u')', u'\'', u'"', u';'}) ends[c] = true;
  }
};
constexpr AtomEnds kAtomEnds;
bool endsAtom(char16_t c) { return c < 128 && kAtomEnds.ends[c]; }
bool isDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

constexpr uint32_t kFnvBasis = 2166136261u, kFnvPrime = 16777619u;

// Builds tokens and nodes as the scanner finds them. Open lists and pending quotes
// live on an explicit stack, so nesting depth costs memory, never the call stack.
class Reader {
 public:
  explicit Reader(std::span<const Text> lines) : lines_(lines) {
    static constexpr const char16_t* kWellKnown[kWellKnownCount] = {
        u"DEFUN", u"DEFUN-Q", u"LAMBDA", u"QUOTE", u"FUNCTION", u"COND",
        u"SETQ",  u"SET",     u"FOREACH", u"VLAX-FOR", u"NIL", u"/"};
    for (const char16_t* w : kWellKnown) {
      t_.foldedIds.emplace(TextView(w), uint32_t(t_.foldedSpelling.size()));
      t_.foldedSpelling.push_back(kNone);  // no spelling until the document writes one
    }
    // Typical code has a token every four or five characters: reserving for that
    // spares the copies of growing vectors without holding much unused room.
    size_t chars = 0;
    for (const Text& l : lines) chars += l.size() + 1;
    t_.tokens.reserve(chars / 4 + 16);
    t_.nodes.reserve(chars / 5 + 16);
    slots_.assign(1024, 0);
    t_.nodes.push_back(Node{});
    stack_.push_back({0, kNone, false});
  }

  Tree run() {
    for (uint32_t li = 0; li < lines_.size(); ++li) scanLine(li);
    finish();
    return std::move(t_);
  }

 private:
  struct Frame {
    uint32_t node, last;
    bool quote;
  };

  void scanLine(uint32_t li) {
    const TextView s = lines_[li];
    const size_t n = s.size();
    size_t i = 0;
    if (inString_) i = scanString(li, 0);
    else if (inBlock_) i = scanBlock(li, 0);
    while (i < n) {
      const char16_t c = s[i];
      if (isSeparator(c)) {
        ++i;
      } else if (c == u'(') {
        open(push(TokenKind::kOpen, li, i, li, i + 1));
        ++i;
      } else if (c == u')') {
        close(push(TokenKind::kClose, li, i, li, i + 1));
        ++i;
      } else if (c == u'\'') {
        quote(push(TokenKind::kQuote, li, i, li, i + 1));
        ++i;
      } else if (c == u'"') {
        startLine_ = li;
        startColumn_ = uint32_t(i);
        inString_ = true;
        i = scanString(li, i + 1);
      } else if (c == u';') {
        if (i + 1 < n && s[i + 1] == u'|') {
          startLine_ = li;
          startColumn_ = uint32_t(i);
          inBlock_ = true;
          i = scanBlock(li, i + 2);
        } else {
          push(TokenKind::kLineComment, li, i, li, n);
          i = n;
        }
      } else {
        size_t j = i + 1;
        uint32_t h = (kFnvBasis ^ c) * kFnvPrime;
        while (j < n && !endsAtom(s[j])) h = (h ^ s[j++]) * kFnvPrime;
        atom(li, i, j, h);
        i = j;
      }
    }
    escapePending_ = false;  // a backslash at the line end escaped the line break
  }

  // From `i` inside a string; returns where scanning goes on.
  size_t scanString(uint32_t li, size_t i) {
    const TextView s = lines_[li];
    if (escapePending_ && i < s.size()) {
      escapePending_ = false;
      ++i;
    }
    while (i < s.size()) {
      const char16_t c = s[i];
      if (c == u'\\') {
        if (i + 1 >= s.size()) {
          escapePending_ = true;
          return s.size();
        }
        i += 2;
      } else if (c == u'"') {
        inString_ = false;
        atomNode(NodeKind::kString, push(TokenKind::kString, startLine_, startColumn_, li, i + 1));
        return i + 1;
      } else {
        ++i;
      }
    }
    return s.size();
  }

  size_t scanBlock(uint32_t li, size_t i) {
    const TextView s = lines_[li];
    for (; i + 1 < s.size(); ++i)
      if (s[i] == u'|' && s[i + 1] == u';') {
        inBlock_ = false;
        push(TokenKind::kBlockComment, startLine_, startColumn_, li, i + 2);
        return i + 2;
      }
    return s.size();
  }

  uint32_t push(TokenKind kind, uint32_t line, size_t col, uint32_t endLine, size_t endCol) {
    const uint32_t delta = std::min<uint32_t>(endLine - line, 0xFFFFFFu);
    t_.tokens.push_back({line, uint32_t(col), uint32_t(endCol), (delta << 8) | uint32_t(kind)});
    return uint32_t(t_.tokens.size() - 1);
  }

  uint32_t newNode(NodeKind kind, uint32_t token) {
    Node n;
    n.setKind(kind);
    n.token = token;
    n.lastToken = token;
    t_.nodes.push_back(n);
    return uint32_t(t_.nodes.size() - 1);
  }

  // Links a node as the next child of the innermost container; a quote that has
  // received its datum is complete and leaves the stack.
  void attach(uint32_t node) {
    Frame& f = stack_.back();
    if (f.last != kNone) t_.nodes[f.last].next = node;  // the first child is the node after its list
    f.last = node;
    t_.nodes[f.node].setValue(t_.nodes[f.node].value() + 1);
    while (stack_.back().quote && t_.nodes[stack_.back().node].value() > 0) stack_.pop_back();
  }

  void atomNode(NodeKind kind, uint32_t token) { attach(newNode(kind, token)); }

  void open(uint32_t token) {
    const uint32_t n = newNode(NodeKind::kList, token);
    attach(n);
    stack_.push_back({n, kNone, false});
  }

  void quote(uint32_t token) {
    const uint32_t n = newNode(NodeKind::kQuote, token);
    attach(n);
    stack_.push_back({n, kNone, true});
  }

  void close(uint32_t token) {
    while (stack_.back().quote) stack_.pop_back();  // a ' right before ) quotes nothing
    if (stack_.size() == 1) {
      t_.errors.push_back({SyntaxErrorKind::kExtraParen, t_.tokens[token].range(), token});
      return;
    }
    t_.nodes[stack_.back().node].lastToken = token;
    stack_.pop_back();
  }

  // The spelling id of an atom's text: open addressing over the hashes of the scan.
  uint32_t spelling(TextView text, uint32_t h) {
    size_t mask = slots_.size() - 1;
    for (size_t at = h & mask;; at = (at + 1) & mask) {
      const uint32_t slot = slots_[at];
      if (slot == 0) break;
      if (hashes_[slot - 1] == h && t_.spellings[slot - 1] == text) return slot - 1;
    }
    const uint32_t id = uint32_t(t_.spellings.size());
    t_.spellings.push_back(text);
    hashes_.push_back(h);
    auto [f, newFolded] = t_.foldedIds.try_emplace(text, uint32_t(t_.foldedSpelling.size()));
    if (newFolded) t_.foldedSpelling.push_back(id);
    else if (t_.foldedSpelling[f->second] == kNone) t_.foldedSpelling[f->second] = id;
    t_.foldedOf.push_back(f->second);
    if (2 * t_.spellings.size() > slots_.size()) {  // keep the table at most half full
      slots_.assign(slots_.size() * 2, 0);
      mask = slots_.size() - 1;
      for (uint32_t k = 0; k < t_.spellings.size(); ++k) {
        size_t at = hashes_[k] & mask;
        while (slots_[at] != 0) at = (at + 1) & mask;
        slots_[at] = k + 1;
      }
    } else {
      size_t at = h & mask;
      while (slots_[at] != 0) at = (at + 1) & mask;
      slots_[at] = id + 1;
    }
    return id;
  }

  void atom(uint32_t li, size_t from, size_t to, uint32_t h) {
    const TextView text = TextView(lines_[li]).substr(from, to - from);
    if (text.size() == 1 && text[0] == u'.' && !stack_.back().quote && stack_.size() > 1) {
      push(TokenKind::kDot, li, from, li, to);
      t_.nodes[stack_.back().node].setDotted();
      return;
    }
    const char16_t c0 = text[0];
    if (((c0 >= u'0' && c0 <= u'9') || c0 == u'+' || c0 == u'-' || c0 == u'.') && isNumber(text)) {
      atomNode(NodeKind::kNumber, push(TokenKind::kNumber, li, from, li, to));
      return;
    }
    const uint32_t token = push(TokenKind::kSymbol, li, from, li, to);
    const uint32_t node = newNode(NodeKind::kSymbol, token);
    t_.nodes[node].setValue(spelling(text, h));
    attach(node);
  }

  void finish() {
    const uint32_t lastLine = lines_.empty() ? 0 : uint32_t(lines_.size() - 1);
    const size_t lastEnd = lines_.empty() ? 0 : lines_.back().size();
    if (inString_) {
      const uint32_t tok = push(TokenKind::kString, startLine_, startColumn_, lastLine, lastEnd);
      t_.errors.push_back({SyntaxErrorKind::kUnterminatedString,
                           {int(startLine_) + 1, int(startColumn_) + 1, int(startLine_) + 1, int(startColumn_) + 2},
                           tok});
      atomNode(NodeKind::kString, tok);
    } else if (inBlock_) {
      const uint32_t tok = push(TokenKind::kBlockComment, startLine_, startColumn_, lastLine, lastEnd);
      t_.errors.push_back({SyntaxErrorKind::kUnterminatedComment,
                           {int(startLine_) + 1, int(startColumn_) + 1, int(startLine_) + 1, int(startColumn_) + 3},
                           tok});
    }
    while (stack_.back().quote) stack_.pop_back();
    if (stack_.size() > 1) {
      const uint32_t outer = t_.nodes[stack_[1].node].token;
      t_.errors.push_back({SyntaxErrorKind::kUnbalanced, t_.tokens[outer].range(), outer});
      const uint32_t last = uint32_t(t_.tokens.size() - 1);
      for (size_t k = 1; k < stack_.size(); ++k) {
        t_.nodes[stack_[k].node].setUnclosed();
        t_.nodes[stack_[k].node].lastToken = last;
      }
    }
    std::stable_sort(t_.errors.begin(), t_.errors.end(), [](const SyntaxError& a, const SyntaxError& b) {
      return a.token < b.token;
    });
    buildOccurrences();
  }

  // Counting sort of the symbol nodes by folded id: nodes come in source order.
  void buildOccurrences() {
    const size_t n = t_.foldedCount();
    t_.occurrenceStart.assign(n + 1, 0);
    for (const Node& node : t_.nodes)
      if (node.kind() == NodeKind::kSymbol) ++t_.occurrenceStart[t_.foldedOf[node.value()] + 1];
    for (size_t k = 0; k < n; ++k) t_.occurrenceStart[k + 1] += t_.occurrenceStart[k];
    t_.occurrenceList.resize(t_.occurrenceStart[n]);
    std::vector<uint32_t> fill(t_.occurrenceStart.begin(), t_.occurrenceStart.end() - 1);
    for (const Node& node : t_.nodes)
      if (node.kind() == NodeKind::kSymbol) t_.occurrenceList[fill[t_.foldedOf[node.value()]]++] = node.token;
  }

  std::span<const Text> lines_;
  Tree t_;
  std::vector<Frame> stack_;
  std::vector<uint32_t> slots_;   // spelling id + 1; 0: empty
  std::vector<uint32_t> hashes_;  // per spelling
  bool inString_ = false, inBlock_ = false, escapePending_ = false;
  uint32_t startLine_ = 0, startColumn_ = 0;
};

}  // namespace

size_t FoldHash::operator()(TextView s) const {
  size_t h = 1469598103934665603ull;
  for (char16_t c : s) h = (h ^ kUpper(c)) * 1099511628211ull;
  return h;
}

bool FoldEqual::operator()(TextView a, TextView b) const {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (kUpper(a[i]) != kUpper(b[i])) return false;
  return true;
}

bool isNumber(TextView a) {
  size_t i = 0;
  const size_t n = a.size();
  if (i < n && (a[i] == u'+' || a[i] == u'-')) ++i;
  size_t digits = 0;
  while (i < n && isDigit(a[i])) ++i, ++digits;
  if (i < n && a[i] == u'.') {
    ++i;
    while (i < n && isDigit(a[i])) ++i, ++digits;
  }
  if (digits == 0) return false;
  if (i < n && (a[i] == u'e' || a[i] == u'E')) {
    ++i;
    if (i < n && (a[i] == u'+' || a[i] == u'-')) ++i;
    size_t exp = 0;
    while (i < n && isDigit(a[i])) ++i, ++exp;
    if (exp == 0) return false;
  }
  return i == n;
}

Tree read(std::span<const Text> lines) { return Reader(lines).run(); }

uint32_t Tree::endToken(const Node& n) const {
  const Node* p = &n;
  // A quote ends where its datum ends; chains of quotes are followed without recursion.
  while (p->kind() == NodeKind::kQuote && firstChild(*p) != kNone) p = &nodes[firstChild(*p)];
  return p->lastToken;
}

Range Tree::range(const Node& n) const {
  const Token& a = tokens[n.token];
  const Token& b = tokens[endToken(n)];
  return {int(a.line) + 1, int(a.column) + 1, int(b.endLine()) + 1, int(b.endColumn) + 1};
}

bool Tree::occursBetween(uint32_t folded, uint32_t first, uint32_t last) const {
  if (folded >= foldedCount()) return false;
  auto occ = occurrences(folded);
  auto it = std::lower_bound(occ.begin(), occ.end(), first);
  return it != occ.end() && *it <= last;
}

uint32_t Tree::findFolded(TextView name) const {
  auto it = foldedIds.find(name);
  return it == foldedIds.end() ? kNone : it->second;
}

}  // namespace quenlit::syntax
