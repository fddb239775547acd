// How a piece of code becomes words, in passes over each code line:
//  1. call-head blanking (CallHeadStep): the head of every list form and every ")";
//  2. quote blanking (QuoteStep): quoted words and every "(";
//  3. the split at blanks, control characters and commas;
//  4. de-duplication by the list comparison (WordCollector), then the exclusion
//     and number tests and the sort (WordCollector::finish).
// Lines without a double quote (every code line) run passes 1 to 3 in one fused
// walk that reads words straight out of the line; the single-line routines
// blankCallHeads and blankQuotedWords run the same steps one pass at a time.
// Around them: the locals and the body of a definition (found by counting
// parentheses from its "(DEFUN "), the blanking of nested definitions out of a
// top-level body, and the word-list operations the variable check combines.
#include "checks/Words.h"

#include <algorithm>
#include <deque>
#include <optional>
#include <set>
#include <unordered_map>
#include <unordered_set>

#include "checks/ExclusionList.h"
#include "source/DefunTable.h"

namespace quenlit {

namespace {

struct ListLessView {
  using is_transparent = void;
  bool operator()(TextView a, TextView b) const { return listLess(a, b); }
};


// Calls `f` with every non-empty item that splitCommaText would give for `s`.
// Code lines hold no double quote, so the plain rule (runs of code units above 32
// other than ",", up to the first NUL) applies; quoted text goes the long way.
template <class F>
void forEachItem(TextView s, F&& f) {
  if (s.find(u'"') != TextView::npos) {
    for (const auto& item : splitCommaText(s))
      if (!item.empty()) f(TextView(item));
    return;
  }
  if (auto z = s.find(char16_t(0)); z != TextView::npos) s = s.substr(0, z);
  size_t i = 0;
  const size_t n = s.size();
  while (i < n) {
    while (i < n && (s[i] <= 32 || s[i] == u',')) ++i;
    const size_t b = i;
    while (i < n && s[i] > 32 && s[i] != u',') ++i;
    if (i > b) f(s.substr(b, i - b));
  }
}

TextList splitWords(TextView s) {
  TextList out;
  forEachItem(s, [&](TextView w) { out.emplace_back(w); });
  return out;
}

// The call-head blanking, one position at a time, so that the single-line routine
// and the fused walk of WordCollector share it. True when position i of `line`
// becomes a blank.
class CallHeadStep {
 public:
  bool blanks(TextView line, size_t i) {
    const char16_t c = line[i];
    bool blank = false;
    if ((inHead_ && c == u' ') || c == u')') {
      blank = true;
      inHead_ = false;
    }
    // "( f a)" and "'(1 2)" start no head.
    if (!inHead_ && c == u'(' && (i + 1 == line.size() || line[i + 1] != u' ') && (i == 0 || line[i - 1] != u'\''))
      inHead_ = true;
    return blank || inHead_;
  }

 private:
  bool inHead_ = false;
};

// The quote and parenthesis blanking of one character of a head-blanked line.
class QuoteStep {
 public:
  bool blanks(char16_t c) {
    bool blank = false;
    if ((inQuote_ && c == u' ') || c == u')') {
      blank = true;
      inQuote_ = false;
    }
    if (!inQuote_ && c == u'\'') inQuote_ = true;
    return blank || inQuote_ || c == u'(';
  }

 private:
  bool inQuote_ = false;
};

// Blanks call heads of `line` into `out` (reused between lines, so no allocation per line).
void blankCallHeadsInto(TextView line, Text& out) {
  out.assign(line);
  CallHeadStep heads;
  for (size_t i = 0; i < line.size(); ++i)
    if (heads.blanks(line, i)) out[i] = u' ';
}

// Each position is read before it is written, so the line can be blanked in place.
void blankQuotedWordsInPlace(Text& line) {
  QuoteStep quotes;
  for (auto& ch : line)
    if (quotes.blanks(ch)) ch = u' ';
}

// Collects the words of lines fed one by one.
class WordCollector {
 public:
  explicit WordCollector(const TextList& jogaiSL) : jogai_(jogaiSL) {}

  void add(TextView line) {
    if (isBlank(line)) return;
    if (line.find(u'"') != TextView::npos) {
      blankCallHeadsInto(line, buffer_);
      blankQuotedWordsInPlace(buffer_);
      forEachItem(buffer_, [&](TextView w) { keep(w, false); });
      return;
    }
    // Both blanking passes and the split in one walk. A blanked position becomes a
    // blank and every other keeps its character, so a word is a piece of `line`.
    const size_t n = line.size();
    CallHeadStep heads;
    QuoteStep quotes;
    size_t wordStart = TextView::npos, end = n;
    for (size_t i = 0; i < n; ++i) {
      const char16_t c = line[i];
      bool blank = heads.blanks(line, i);
      const char16_t c1 = blank ? u' ' : c;
      blank = quotes.blanks(c1) || blank;
      const char16_t c2 = blank ? u' ' : c1;
      if (c2 == 0) {  // the split ends at a NUL, as splitCommaText does
        end = i;
        break;
      }
      if (c2 > 32 && c2 != u',') {
        if (wordStart == TextView::npos) wordStart = i;
      } else if (wordStart != TextView::npos) {
        keep(line.substr(wordStart, i - wordStart), true);
        wordStart = TextView::npos;
      }
    }
    if (wordStart != TextView::npos) keep(line.substr(wordStart, end - wordStart), true);
  }

  TextList finish() {
    std::vector<TextView> words;
    words.reserve(seen_.size());
    for (TextView w : seen_)
      if (isVariableWord(w, jogai_)) words.push_back(w);
    // No two words are equal in the list order, so any sort gives the one order.
    std::sort(words.begin(), words.end(), listLess);
    return TextList(words.begin(), words.end());
  }

 private:
  // Of spellings that differ only in letter case the first one met stays. Words
  // are pieces of the code lines, which outlive the collector; a word of a
  // blanked copy (a line with a double quote) is kept in `owned_`.
  void keep(TextView w, bool stable) {
    if (seen_.count(w)) return;
    if (!stable) w = owned_.emplace_back(w);
    seen_.insert(w);
  }

  const TextList& jogai_;
  std::unordered_set<TextView, ListKeyHash, ListKeyEqual> seen_;
  std::deque<Text> owned_;
  Text buffer_;
};

// Where a definition's body lies: from (line, col) to (endLine, endCol), both included.
struct BodyRange {
  size_t line = 0, col = 0, endLine = 0, endCol = 0;
  // The piece of code line k that belongs to the body.
  TextView piece(const TextList& code, size_t k) const {
    TextView l = code[k];
    const size_t to = k == endLine ? endCol + 1 : l.size();
    const size_t from = k == line ? col : 0;
    return l.substr(from, to - from);
  }
};

// An order in which "same word" (sameWordAscii) is equality.
bool sameWordLess(TextView a, TextView b) {
  const size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    const char16_t x = toUpperAscii(a[i]), y = toUpperAscii(b[i]);
    if (x != y) return x < y;
  }
  return a.size() < b.size();
}

bool validStart(const TextList& codeLines, int startLine, int startCol) {
  return startLine >= 0 && startCol >= 0 && size_t(startLine) < codeLines.size();
}

}  // namespace

Text blankCallHeads(TextView line) {
  Text out;
  blankCallHeadsInto(line, out);
  return out;
}

Text blankQuotedWords(TextView line) {
  Text out(line);
  blankQuotedWordsInPlace(out);
  return out;
}

bool isNumberWord(TextView word) {
  size_t b = 0, e = word.size();
  while (b < e && word[b] == u' ') ++b;
  while (e > b && word[e - 1] == u' ') --e;
  const TextView w = word.substr(b, e - b);
  if (w.size() <= 4) {
    const Text u = toUpperAscii(w);
    if (u == u"NAN" || u == u"INF" || u == u"+INF" || u == u"-INF") return true;
  }
  const size_t n = w.size();
  auto digit = [&](size_t i) { return i < n && w[i] >= u'0' && w[i] <= u'9'; };
  size_t i = 0, digits = 0;
  if (i < n && (w[i] == u'+' || w[i] == u'-')) ++i;
  while (digit(i)) ++i, ++digits;
  if (i < n && w[i] == u'.') {
    ++i;
    while (digit(i)) ++i, ++digits;
  }
  if (digits == 0) return false;
  if (i < n && (w[i] == u'e' || w[i] == u'E')) {
    ++i;
    if (i < n && (w[i] == u'+' || w[i] == u'-')) ++i;
    size_t exp = 0;
    while (digit(i)) ++i, ++exp;
    if (exp == 0) return false;
  }
  return i == n;
}

bool isVariableWord(TextView word, const TextList& jogaiSL) {
  // Both tests already ignore ASCII letter case, so the word is not upper-cased first.
  if (!jogaiSL.empty() && jogaiContains(jogaiSL, word)) return false;
  return !isNumberWord(word);
}

TextList collectWords(const TextList& lines, const TextList& jogaiSL) {
  WordCollector words(jogaiSL);
  for (const auto& line : lines) words.add(line);
  return words.finish();
}

TextList getDefunLocals(const TextList& codeLines, int startLine, int startCol) {
  if (!validStart(codeLines, startLine, startCol)) return {};
  const size_t count = codeLines.size();
  int depth = 0;
  bool haveBegin = false;
  size_t bl = 0, bp = 0;  // first character of the locals
  size_t el = 0, ep = 0;  // end: line, and the 0-based column just past the last character
  bool ended = false;
  for (size_t i = size_t(startLine); i < count && !ended; ++i) {
    const Text& line = codeLines[i];
    for (size_t q = (i == size_t(startLine) ? size_t(startCol) : 0); q < line.size(); ++q) {
      const char16_t c = line[q];
      if (c == u'(' && ++depth > 2) return {};
      if (depth == 2 && c == u'/') {
        if (q + 1 < line.size()) {
          bl = i;
          bp = q + 1;
        } else {
          const auto next = nonEmptyLineFrom(codeLines, i + 1);
          if (!next) return {};
          bl = *next;
          bp = 0;
        }
        haveBegin = true;  // a later "/" moves the beginning again
      }
      if (depth == 2 && c == u')') {
        if (!haveBegin) break;  // skip the rest of the line, still at depth 2
        if (q > 0) {
          el = i;
          ep = q;
        } else {
          const auto above = nonEmptyLineAbove(codeLines, i);
          if (!above) return {};
          el = *above;
          ep = codeLines[el].size();
        }
        ended = true;
        break;
      }
    }
  }
  if (!ended) return {};
  const auto text = joinCodeSpan(codeLines, bl, bp, el, ep);
  if (!text) return {};
  TextList locals = splitWords(*text);
  sortList(locals);
  return locals;
}

TextList getDefunArgList(const TextList& codeLines, int startLine, int startCol) {
  if (!validStart(codeLines, startLine, startCol)) return {};
  // The items contain no code unit below 33, so CR LF only ever ends an item.
  return splitWords(getDefunArgs(codeLines, startLine, startCol));
}

namespace {

std::optional<BodyRange> findBody(const TextList& codeLines, int startLine, int startCol) {
  if (!validStart(codeLines, startLine, startCol)) return std::nullopt;
  long long opens = 0, closes = 0;
  bool haveStart = false, settled = false, ended = false;
  size_t bl = 0, bp = 0, el = 0, ep = 0;
  for (size_t i = size_t(startLine); i < codeLines.size() && !ended; ++i) {
    const Text& line = codeLines[i];
    for (size_t q = (i == size_t(startLine) ? size_t(startCol) : 0); q < line.size(); ++q) {
      const char16_t c = line[q];
      if (c == u'(') ++opens;
      else if (c == u')') ++closes;
      // The start is the ")" that closes the parameter list, moved on over the blanks
      // after it. It must not move into a word: in (defun id (val) val) the body word
      // is "val", not its last letter.
      if (opens == 2 && closes == 1 && !settled) {
        if (!haveStart || c <= 32) {
          haveStart = true;
          bl = i;
          bp = q;
        } else {
          settled = true;
        }
      }
      if (opens == closes) {
        ended = true;
        el = i;
        ep = q;
        break;
      }
    }
  }
  if (!ended || !haveStart) return std::nullopt;
  return BodyRange{bl, bp, el, ep};
}

}  // namespace

TextList getDefunBody(const TextList& codeLines, int startLine, int startCol) {
  TextList body;
  if (auto r = findBody(codeLines, startLine, startCol))
    for (size_t k = r->line; k <= r->endLine; ++k) body.emplace_back(r->piece(codeLines, k));
  return body;
}

TextList getDefunWords(const TextList& codeLines, int startLine, int startCol, const TextList& jogaiSL) {
  WordCollector words(jogaiSL);
  const auto range = findBody(codeLines, startLine, startCol);
  if (!range) return {};
  long long opened = 0, closed = 0;
  bool inside = false;
  for (size_t k = range->line; k <= range->endLine; ++k) {
    const TextView line = range->piece(codeLines, k);
    if (isBlank(line)) continue;
    size_t from = 0;
    const size_t at = findDefun(line);
    if (at != TextView::npos) {
      // Counts left over from text after an earlier nested definition closed must not
      // shift where this one ends.
      if (!inside) opened = closed = 0;
      inside = true;
      from = at;
    }
    if (!inside) {
      words.add(line);
      continue;
    }
    // Deliberately runs to the end of the line: text after the closing ")" of a
    // nested definition on the same line is blanked with it. Only the counts are
    // needed from the walk; the words come from the part before it.
    for (size_t q = from; q < line.size(); ++q) {
      if (line[q] == u'(') ++opened;
      else if (line[q] == u')') ++closed;
      if (opened == closed) {
        inside = false;
        opened = closed = 0;
      }
    }
    words.add(line.substr(0, from));
  }
  return words.finish();
}

TextList getSubDefunWords(const TextList& codeLines, int startLine, int startCol, const TextList& jogaiSL) {
  WordCollector words(jogaiSL);
  if (auto r = findBody(codeLines, startLine, startCol))
    for (size_t k = r->line; k <= r->endLine; ++k) words.add(r->piece(codeLines, k));
  return words.finish();
}

TextList getLineWords(const TextList& codeLines, int first, int last, const TextList& jogaiSL) {
  if (codeLines.empty()) return {};
  const long long lo = std::max(0, first);
  const long long hi = std::min<long long>(last, (long long)codeLines.size() - 1);
  if (hi < lo) return {};
  WordCollector words(jogaiSL);
  for (long long k = lo; k <= hi; ++k) words.add(codeLines[size_t(k)]);
  return words.finish();
}

TextList getSubFreeWords(const TextList& codeLines, int startLine, int startCol, const TextList& jogaiSL) {
  TextList words = getSubDefunWords(codeLines, startLine, startCol, jogaiSL);
  if (words.empty()) return {};
  TextList free = subtractWords(words, getDefunArgList(codeLines, startLine, startCol),
                                getDefunLocals(codeLines, startLine, startCol));
  sortList(free);
  return free;
}

TextList subtractWordLists(const TextList& a, std::span<const TextList* const> bs) {
  if (a.empty()) return {};
  std::vector<TextView> drop;
  for (const TextList* b : bs) drop.insert(drop.end(), b->begin(), b->end());
  std::sort(drop.begin(), drop.end(), sameWordLess);
  TextList out;
  for (const auto& w : a) {
    auto it = std::lower_bound(drop.begin(), drop.end(), TextView(w), sameWordLess);
    if (it == drop.end() || !sameWordAscii(*it, w)) out.push_back(w);
  }
  return out;
}

Text commonWords(const TextList& a, const TextList& b) {
  std::unordered_map<Text, int> inB;
  for (const auto& w : b) ++inB[toUpperAscii(trim(w))];
  Text out;
  for (const auto& w : a) {
    const Text t = trim(w);
    auto it = inB.find(toUpperAscii(t));
    if (it == inB.end()) continue;
    // A word of A that matches two words of B is written twice.
    for (int k = 0; k < it->second; ++k) {
      out += t;
      out += u' ';
    }
  }
  if (!out.empty()) out.pop_back();
  return out;
}

Text findDuplicateWords(const TextList& locals) {
  std::vector<bool> repeated(locals.size());
  std::unordered_set<Text> later;
  for (size_t j = locals.size(); j-- > 0;) {
    Text key = toUpperAscii(locals[j]);
    repeated[j] = later.count(key) > 0;
    later.insert(std::move(key));
  }
  Text out;
  for (size_t j = 0; j < locals.size(); ++j)
    if (repeated[j]) {
      out += locals[j];
      out += u' ';
    }
  return out;
}

}  // namespace quenlit
