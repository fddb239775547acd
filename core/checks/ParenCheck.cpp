#include "checks/ParenCheck.h"

#include "source/CodeLines.h"
#include "source/DefunTable.h"

namespace quenlit {

namespace {

constexpr TextView kDefunHead = u"(DEFUN ";

bool startsWithDefun(TextView line) {
  if (line.size() < kDefunHead.size()) return false;
  for (size_t k = 0; k < kDefunHead.size(); ++k)
    if (toUpperAscii(line[k]) != kDefunHead[k]) return false;
  return true;
}

Text trimSpaces(TextView s) {
  size_t b = 0, e = s.size();
  while (b < e && s[b] == u' ') ++b;
  while (e > b && s[e - 1] == u' ') --e;
  return Text(s.substr(b, e - b));
}

Text cutBeforeParen(TextView s) {
  const size_t open = s.find(u'(');
  return Text(open == TextView::npos ? s : s.substr(0, open));
}

Text num(long long n) { return toText(n); }


// "(defun foo (a)" reads "defun foo ": the messages wrap it as "(defun foo )".
Text defunLabel(TextView trimmedLine) { return cutBeforeParen(trimmedLine.substr(trimmedLine.empty() ? 0 : 1)); }

struct DefunHit {
  Text label;
  int line = -1;
};

// The first line of [from, to] (walking in `step` direction) whose trimmed text
// mentions "DEFUN " anywhere; indented and nested defuns count here.
DefunHit findDefunLine(const TextList& codeLines, long long from, long long to, int step) {
  for (long long i = from; step > 0 ? i <= to : i >= to; i += step) {
    if (i < 0 || i >= static_cast<long long>(codeLines.size())) break;
    Text trimmed = trim(codeLines[size_t(i)]);
    if (containsUpperAscii(trimmed, u"DEFUN ")) return {defunLabel(trimmed), int(i)};
  }
  return {};
}

void addCounts(TextView line, int& openCount, int& closeCount) {
  for (char16_t c : line) {
    if (c == u'(') ++openCount;
    else if (c == u')') ++closeCount;
  }
}

ParenMessage moreOpenMessage(const TextList& code, int openCount, int closeCount, int T) {
  ParenMessage m;
  m.moreOpen = true;
  m.openCount = openCount;
  m.closeCount = closeCount;
  m.balancedLine = T;
  DefunHit hit = findDefunLine(code, T + 1LL, static_cast<long long>(code.size()) - 1, +1);
  m.defunLabel = hit.label;
  m.heading = u"括弧数 = " + num(openCount) + u" > " + num(closeCount) + u", 上からの最終一致行 = " + num(T + 1LL);
  const Text body = m.heading + u"\n" + u"これより下の行で括弧数が一致していません，";
  const Text region = u"(" + m.defunLabel + u") 内か、それより上の " + num(T + 2LL) + u" 行までで一致していない可能性があります．";
  if (!m.defunLabel.empty()) {
    m.jumpLine = hit.line + 1;
    m.confirmText = body + u"\n" + region + u"\n" + u"(" + m.defunLabel + u") へジャンプしますか？";
    m.plainText = body + u"\n" + region;
  } else {
    m.jumpLine = T + 1;
    m.confirmText = body + u"\n" + num(T + 1LL) + u" 行へジャンプしますか？";
    m.plainText = body;
  }
  return m;
}

ParenMessage moreCloseMessage(const TextList& code, int openCount, int closeCount, int B) {
  ParenMessage m;
  m.moreOpen = false;
  m.openCount = openCount;
  m.closeCount = closeCount;
  m.balancedLine = B;
  DefunHit hit = B > 0 ? findDefunLine(code, B - 1LL, 0, -1) : DefunHit{};
  m.defunLabel = hit.label;
  m.heading = u"括弧数 = " + num(openCount) + u" < " + num(closeCount) + u", 下からの最終一致行 = " + num(B + 1LL);
  const Text region = u"(" + m.defunLabel + u") 内か、それより下の " + num(B) + u" 行までで一致していない可能性があります．";
  const Text confirmBody = m.heading + u"\n" + u"これより上の行で括弧数が一致していません，";
  // The plain message ends this sentence with a full stop where the question has a comma.
  const Text plainBody = m.heading + u"\n" + u"これより上の行で括弧数が一致していません．";
  if (!m.defunLabel.empty()) {
    m.jumpLine = hit.line + 1;
    m.confirmText = confirmBody + u"\n" + region + u"\n" + u"(" + m.defunLabel + u") へジャンプしますか？";
    m.plainText = plainBody + u"\n" + region;
  } else {
    m.jumpLine = B + 1;
    m.confirmText = confirmBody + u"\n" + num(B + 1LL) + u" 行へジャンプしますか？";
    m.plainText = plainBody;
  }
  return m;
}

}  // namespace

bool countParens(const TextList& codeLines, int fromIndex, int toIndex, int& openCount, int& closeCount) {
  openCount = 0;
  closeCount = 0;
  const long long last = static_cast<long long>(codeLines.size()) - 1;
  long long to = toIndex;
  if (to > last) to = last;
  if (fromIndex < 0 || fromIndex > to) return false;
  for (long long i = fromIndex; i <= to; ++i) addCounts(codeLines[size_t(i)], openCount, closeCount);
  return true;
}

std::vector<DefunHead> collectDefunHeads(const TextList& codeLines) {
  std::vector<DefunHead> heads;
  for (size_t i = 0; i < codeLines.size(); ++i) {
    const Text& line = codeLines[i];
    // Only a defun at the very first character is a head: an indented one belongs
    // to the range above it.
    if (!startsWithDefun(line)) continue;
    heads.push_back({cutBeforeParen(trimSpaces(TextView(line).substr(6))), int(i)});
  }
  return heads;
}

namespace {

// The listing on code lines already built; the pane is cleared and bracketed.
void listMismatches(const std::vector<ParenRange>& ranges, ResultPane& pane) {
  for (const ParenRange& r : ranges) {
    pane.addLine(u"・" + parenRangeText(r));
    pane.addLine(u"　" + parenCountText(r));
    if (!r.lead) pane.addLine(u"　" + Text(kDefunInRangeLabel) + r.name);
  }
  if (pane.lineCount() > 0) {
    pane.insertLine(0, u"■" + Text(kParenMismatchLabel));
    pane.insertLine(1, u"※(defun から次の (defun 直前まで");
  }
}

}  // namespace

namespace {

// "(" and ")" of every code line, counted in one pass: the ranges, the whole-file
// count and both directions of the search for the balance read these instead of
// walking the text again.
struct LineParens {
  std::vector<int> open, close;
};

LineParens countLineParens(const TextList& code) {
  LineParens counts;
  counts.open.resize(code.size());
  counts.close.resize(code.size());
  for (size_t i = 0; i < code.size(); ++i) addCounts(code[i], counts.open[i], counts.close[i]);
  return counts;
}

std::vector<ParenRange> mismatches(const TextList& code, const LineParens& counts) {
  std::vector<ParenRange> ranges;
  if (code.empty()) return ranges;
  const std::vector<DefunHead> heads = collectDefunHeads(code);
  if (heads.empty()) return ranges;
  // Sums over [from, to], as countParens adds them up.
  auto sum = [&](int from, int to, int& openCount, int& closeCount) {
    openCount = closeCount = 0;
    for (int i = from; i <= to; ++i) {
      openCount += counts.open[size_t(i)];
      closeCount += counts.close[size_t(i)];
    }
  };
  int openCount = 0, closeCount = 0;
  const int h0 = heads.front().line;
  if (h0 >= 1) {
    sum(0, h0 - 1, openCount, closeCount);
    if (openCount != closeCount) ranges.push_back({0, h0 - 1, openCount, closeCount, true, Text()});
  }
  for (size_t k = 0; k < heads.size(); ++k) {
    const int s = heads[k].line;
    const int e = k + 1 < heads.size() ? heads[k + 1].line - 1 : int(code.size()) - 1;
    if (s > e) continue;
    sum(s, e, openCount, closeCount);
    if (openCount != closeCount) ranges.push_back({s, e, openCount, closeCount, false, heads[k].name});
  }
  return ranges;
}

std::optional<ParenMessage> imbalance(const TextList& code, const LineParens& counts, int& openCount,
                                      int& closeCount) {
  // Lines of length 0 (a comment-only source line, say) never set T or B; a line
  // of blanks does. Both stay 0 when nothing balances, so the messages then name
  // line 1 even though it does not balance: intended.
  openCount = closeCount = 0;
  int T = 0;
  for (size_t i = 0; i < code.size(); ++i) {
    if (code[i].empty()) continue;
    openCount += counts.open[i];
    closeCount += counts.close[i];
    if (openCount == closeCount) T = int(i);
  }
  if (openCount == closeCount) return std::nullopt;

  openCount = closeCount = 0;
  int B = 0;
  for (size_t i = code.size(); i-- > 0;) {
    if (code[i].empty()) continue;
    openCount += counts.open[i];
    closeCount += counts.close[i];
    if (openCount == closeCount) B = int(i);
  }
  return openCount > closeCount ? moreOpenMessage(code, openCount, closeCount, T)
                                : moreCloseMessage(code, openCount, closeCount, B);
}

}  // namespace

std::vector<ParenRange> findParenMismatches(const TextList& code) { return mismatches(code, countLineParens(code)); }

std::optional<ParenMessage> findFileImbalance(const TextList& code, int& openCount, int& closeCount) {
  return imbalance(code, countLineParens(code), openCount, closeCount);
}

ParenFindings findParenProblems(const TextList& code) {
  const LineParens counts = countLineParens(code);
  ParenFindings found;
  found.ranges = mismatches(code, counts);
  found.file = imbalance(code, counts, found.openCount, found.closeCount);
  return found;
}

void listParenMismatch(const TextList& sourceLines, ResultPane& pane, ProgressBar& progress) {
  if (sourceLines.empty()) return;
  pane.clear();
  PaneUpdate update(pane);
  TextList code;
  makeCodeLines(sourceLines, code, progress, 80);
  listMismatches(findParenMismatches(code), pane);
}

ParenCheckResult runParenCheck(const TextList& sourceLines, ResultPane& pane, ProgressBar& progress) {
  ParenCheckResult result;
  pane.clear();
  PaneUpdate update(pane);
  if (sourceLines.empty()) return result;
  result.scrollTop = true;

  // The listing and the whole-file count read the same code lines: built and counted once.
  TextList code;
  makeCodeLines(sourceLines, code, progress, 80);
  ParenFindings found = findParenProblems(code);
  {
    PaneUpdate listing(pane);
    listMismatches(found.ranges, pane);
  }
  if (code.empty()) return result;
  TextList table;
  makeDefunList(code, table, 20, progress, false);

  const int openCount = found.openCount, closeCount = found.closeCount;
  result.message = std::move(found.file);
  if (!result.message) {
    pane.addLine(u"■全体の括弧数チェック");
    pane.addLine(u"括弧数= " + num(openCount) + u" : " + num(closeCount));
    pane.addLine(u"行数= " + num(static_cast<long long>(sourceLines.size())) + u", 関数= " +
                 num(static_cast<long long>(table.size())));
    pane.addLine(u"全体での括弧数は一致しています．");
  }
  return result;
}

Text parenRangeText(const ParenRange& r) { return u"行範囲 = " + num(r.from + 1LL) + u"～" + num(r.to + 1LL); }

Text parenCountText(const ParenRange& r) {
  return u"括弧数 = " + num(r.openCount) + (r.openCount > r.closeCount ? u" > " : u" < ") + num(r.closeCount);
}

}  // namespace quenlit
