// The AutoLISP reader: tokens with exact positions (comments included, so a
// formatter can rebuild the text), a tree of lists and quotes over them, and the
// reader's own errors. One pass, no recursion, no allocation per character.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "text/Text.h"

namespace quenlit::syntax {

inline constexpr uint32_t kNone = 0xFFFFFFFFu;

enum class TokenKind : uint8_t {
  kOpen,          // (
  kClose,         // )
  kQuote,         // '
  kDot,           // a lone . inside a list
  kString,        // "..." with its quotes (to the end of the file when unterminated)
  kNumber,        // 1 -2 1.5 .5 1e3 +3
  kSymbol,        // every other atom
  kLineComment,   // ; to the end of the line
  kBlockComment,  // ;| ... |; (to the end of the file when unterminated)
};

// 1-based line and column (UTF-16 code units of the line); the end is exclusive.
struct Range {
  int line = 1, column = 1, endLine = 1, endColumn = 1;
  friend bool operator==(const Range&, const Range&) = default;
};

struct Token {
  uint32_t line;       // 0-based
  uint32_t column;     // 0-based, UTF-16 code units
  uint32_t endColumn;  // exclusive, on endLine()
  uint32_t packed;     // (endLine - line) << 8 | kind

  TokenKind kind() const { return TokenKind(packed & 0xFF); }
  uint32_t endLine() const { return line + (packed >> 8); }
  Range range() const { return {int(line) + 1, int(column) + 1, int(endLine()) + 1, int(endColumn) + 1}; }
};

enum class NodeKind : uint8_t { kRoot, kList, kQuote, kSymbol, kNumber, kString };

// 16 bytes a node: a list's first child is the node after it, so only the next
// sibling is stored; kind and flags share a word with the value.
struct Node {
  uint32_t token = kNone;      // '(' of a list, '\'' of a quote, the atom itself
  uint32_t lastToken = kNone;  // ')' of a closed list; an unclosed one's last token
  uint32_t next = kNone;       // next sibling
  uint32_t bits = 0;           // value | kind << 27 | closed << 30 | dotted << 31

  // symbol: spelling id; list, quote, root: number of children
  uint32_t value() const { return bits & kValueMask; }
  NodeKind kind() const { return NodeKind((bits >> 27) & 7); }
  bool closed() const { return !(bits & (1u << 30)); }  // list: its ')' was found
  bool dotted() const { return bits & (1u << 31); }     // list: holds a lone '.'

  static constexpr uint32_t kValueMask = (1u << 27) - 1;
  void setKind(NodeKind k) { bits = (bits & ~(7u << 27)) | (uint32_t(k) << 27); }
  void setValue(uint32_t v) { bits = (bits & ~kValueMask) | (v & kValueMask); }
  void setUnclosed() { bits |= 1u << 30; }
  void setDotted() { bits |= 1u << 31; }
};

enum class SyntaxErrorKind : uint8_t { kUnbalanced, kExtraParen, kUnterminatedString, kUnterminatedComment };

struct SyntaxError {
  SyntaxErrorKind kind;
  Range range;     // the '(' , ')' , '"' or ";|" it names
  uint32_t token;  // that token
};

// Well-known symbols have fixed folded ids, so that analyses test heads cheaply.
enum WellKnown : uint32_t {
  kDefun, kDefunQ, kLambda, kQuoteSym, kFunction, kCond, kSetq, kSet, kForeach, kVlaxFor, kNil, kSlash,
  kWellKnownCount
};

// Hash and equality of symbols: ASCII a-z folded to upper case.
struct FoldHash {
  size_t operator()(TextView s) const;
};
struct FoldEqual {
  bool operator()(TextView a, TextView b) const;
};

// The tree of one document. Views point into the lines it was read from, which must
// outlive it.
struct Tree {
  std::vector<Token> tokens;
  std::vector<Node> nodes;  // nodes[0]: the root; its children are the top-level forms
  std::vector<SyntaxError> errors;

  // Symbols: each distinct spelling once; spellings that differ only in ASCII
  // letter case share a folded id (the unit every comparison uses).
  std::vector<TextView> spellings;
  std::vector<uint32_t> foldedOf;       // spelling id -> folded id
  std::vector<uint32_t> foldedSpelling; // folded id -> its first spelling
  size_t foldedCount() const { return foldedSpelling.size(); }

  uint32_t folded(const Node& n) const { return foldedOf[n.value()]; }
  TextView text(const Node& n) const { return spellings[n.value()]; }  // symbols only
  // The first child of a list, a quote or the root; kNone for none.
  uint32_t firstChild(const Node& n) const {
    const NodeKind k = n.kind();
    const bool container = k == NodeKind::kList || k == NodeKind::kQuote || k == NodeKind::kRoot;
    return container && n.value() > 0 ? uint32_t(&n - nodes.data()) + 1 : kNone;
  }
  Range range(const Node& n) const;     // first to last token
  uint32_t endToken(const Node& n) const;  // the last token a node covers

  // Token indices of the symbols of each folded id, in source order.
  std::span<const uint32_t> occurrences(uint32_t folded) const {
    return {occurrenceList.data() + occurrenceStart[folded],
            occurrenceList.data() + occurrenceStart[folded + 1]};
  }
  // Whether a symbol of that folded id stands among tokens [first, last].
  bool occursBetween(uint32_t folded, uint32_t first, uint32_t last) const;
  // The folded id of a name, kNone when the document holds no such symbol.
  uint32_t findFolded(TextView name) const;

  std::vector<uint32_t> occurrenceStart, occurrenceList;
  std::unordered_map<TextView, uint32_t, FoldHash, FoldEqual> foldedIds;
};

// Reads the lines of one document (line breaks between them).
Tree read(std::span<const Text> lines);

// Whether an atom reads as an integer or a real.
bool isNumber(TextView atom);

}  // namespace quenlit::syntax
