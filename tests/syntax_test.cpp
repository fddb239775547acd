// The reader: tokens and their exact ranges, the tree over them, recovery from
// broken input, and hostile input that must end in findings, never in a crash.
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "checks/ExclusionList.h"
#include "checks/lint/Lint.h"
#include "source/SourceFile.h"
#include "syntax/Syntax.h"
#include "text/Encoding.h"

using namespace quenlit;
using namespace quenlit::test;
using namespace quenlit::syntax;

namespace {

// "kind@line:col-endLine:endCol" for every token.
std::string describe(const Tree& t) {
  static const char* kNames[] = {"(", ")", "'", ".", "str", "num", "sym", ";", ";|"};
  std::string out;
  for (const Token& k : t.tokens) {
    const Range r = k.range();
    out += std::string(kNames[int(k.kind())]) + "@" + std::to_string(r.line) + ":" + std::to_string(r.column) + "-" +
           std::to_string(r.endLine) + ":" + std::to_string(r.endColumn) + " ";
  }
  return out;
}

std::string errors(const Tree& t) {
  static const char* kNames[] = {"unbalanced", "extra", "string", "comment"};
  std::string out;
  for (const SyntaxError& e : t.errors)
    out += std::string(kNames[int(e.kind)]) + "@" + std::to_string(e.range.line) + ":" + std::to_string(e.range.column) +
           "-" + std::to_string(e.range.endColumn) + " ";
  return out;
}

}  // namespace

TEST(Reader, TokensRangesAndErrors) {
  const struct {
    const char* source;
    const char* tokens;
    const char* errors;
  } cases[] = {
      {"(setq a 1.5)", "(@1:1-1:2 sym@1:2-1:6 sym@1:7-1:8 num@1:9-1:12 )@1:12-1:13 ", ""},
      // Numbers and symbols: what reads as a number and what does not.
      {"1 -2 +3 .5 1e3 1. - 1e x1 1-", "num@1:1-1:2 num@1:3-1:5 num@1:6-1:8 num@1:9-1:11 num@1:12-1:15 num@1:16-1:18 "
                                       "sym@1:19-1:20 sym@1:21-1:23 sym@1:24-1:26 sym@1:27-1:29 ", ""},
      // Escapes: \" does not close, a backslash at the line end escapes the break.
      {"(a \"x\\\"y\" b)", "(@1:1-1:2 sym@1:2-1:3 str@1:4-1:10 sym@1:11-1:12 )@1:12-1:13 ", ""},
      {"\"a\\\n\"b", "str@1:1-2:2 sym@2:2-2:3 ", ""},
      // Comments: a line comment, a block comment over lines, ;|; is not closed by its own |.
      {"a ; c (\n;| x\ny |; b", "sym@1:1-1:2 ;@1:3-1:8 ;|@2:1-3:5 sym@3:6-3:7 ", ""},
      {";|;\nx", ";|@1:1-2:2 ", "comment@1:1-3 "},
      // Quote across blanks, comments and lines; a dotted pair; a lone dot outside a list.
      {"'\n; c\n(1 . 2) .", "'@1:1-1:2 ;@2:1-2:4 (@3:1-3:2 num@3:2-3:3 .@3:4-3:5 num@3:6-3:7 )@3:7-3:8 sym@3:9-3:10 ", ""},
      // Recovery: an extra ) at its place, the outermost open ( at the end.
      {"a)\n(b (c", "sym@1:1-1:2 )@1:2-1:3 (@2:1-2:2 sym@2:2-2:3 (@2:4-2:5 sym@2:5-2:6 ", "extra@1:2-3 unbalanced@2:1-2 "},
      {"(x \"abc", "(@1:1-1:2 sym@1:2-1:3 str@1:4-1:8 ", "unbalanced@1:1-2 string@1:4-5 "},
      // Columns count UTF-16 code units: a character outside the BMP takes two.
      {"\"\xF0\x9F\x98\x80\" \xE5\xA4\x89 x", "str@1:1-1:5 sym@1:6-1:7 sym@1:8-1:9 ", ""},
  };
  for (const auto& c : cases) {
    const TextList src = lines(c.source);
    const Tree t = read(src);
    EXPECT_EQ(describe(t), c.tokens) << c.source;
    EXPECT_EQ(errors(t), c.errors) << c.source;
  }
  // Only blank, TAB, CR and LF separate; NUL and other controls are atom characters.
  const TextList nul = {Text(u"a\0b\x0c" u"c\td", 7)};
  EXPECT_EQ(describe(read(nul)), "sym@1:1-1:6 sym@1:7-1:8 ");
}

TEST(Reader, TreeOfListsQuotesAndSymbols) {
  const TextList src = lines("(defun F (a) '(x . y) ''z)\n(f)");
  const Tree t = read(src);
  const Node& root = t.nodes[0];
  ASSERT_EQ(root.value(), 2u);
  const Node& defun = t.nodes[t.firstChild(root)];
  EXPECT_EQ(defun.value(), 5u);  // defun F (a) '(x . y) ''z
  uint32_t c = t.firstChild(defun);
  EXPECT_EQ(t.folded(t.nodes[c]), uint32_t(kDefun));
  c = t.nodes[c].next;
  const uint32_t fUpper = t.folded(t.nodes[c]);
  EXPECT_EQ(t.text(t.nodes[c]), u"F");
  c = t.nodes[t.nodes[c].next].next;
  const Node& quoted = t.nodes[c];
  ASSERT_EQ(quoted.kind(), NodeKind::kQuote);
  EXPECT_TRUE(t.nodes[t.firstChild(quoted)].dotted());
  EXPECT_EQ(t.nodes[t.firstChild(quoted)].value(), 2u);  // the dot is no element
  EXPECT_EQ(t.range(quoted), (Range{1, 14, 1, 22}));
  const Node& twice = t.nodes[quoted.next];
  EXPECT_EQ(t.nodes[t.firstChild(twice)].kind(), NodeKind::kQuote);
  EXPECT_EQ(t.range(twice), (Range{1, 23, 1, 26}));
  // f and F are one symbol; both occurrences are found by token.
  const Node& call = t.nodes[defun.next];
  EXPECT_EQ(t.folded(t.nodes[t.firstChild(call)]), fUpper);
  EXPECT_EQ(t.occurrences(fUpper).size(), 2u);
  EXPECT_EQ(t.findFolded(u"f"), fUpper);
}

// Hostile input through the whole path (decode, split, read, every rule): findings
// or nothing, no crash (the time they take is printed by scripts/bench).
TEST(Reader, HostileInputEndsInFindings) {
  std::string binary(1 << 16, '\0');
  for (size_t i = 0; i < binary.size(); ++i) binary[i] = char((i * 2654435761u) >> 11);
  const struct {
    const char* what;
    std::string bytes;
    const char* rule;  // a finding that must be there, or "" for none required
  } cases[] = {
      {"binary bytes", binary, ""},
      {"NUL bytes", std::string(5000, '\0') + "(setq", "syntax-unbalanced"},
      {"a lone quote at the start of 5 MB", "\"" + std::string(5 << 20, 'x'), "syntax-unterminated-string"},
      {"100,000 ( with no )", std::string(100000, '('), "syntax-unbalanced"},
      {"100,000 nested lists", std::string(100000, '(') + std::string(100000, ')'), ""},
      {"CR-only line ends", "(defun c:a (/ x)\r(setq y 1)\r)\r)", "syntax-extra-paren"},
      {"characters outside the BMP", "(defun c:\xF0\x9F\x98\x80 (/ \xF0\x9F\x98\x80x) (setq \xF0\x9F\x98\x80y 1))",
       "var-undeclared"},
      {"an unterminated block comment", ";|" + std::string(1 << 20, '(') , "syntax-unterminated-comment"},
  };
  const TextList jogai = mergeJogaiLines(builtinJogaiWords(), {});
  const BuiltinList builtins;
  const lint::GlobalNames globals;
  const lint::LintOptions opts{jogai, builtins, globals};
  for (const auto& c : cases) {
    const TextList src = splitLines(decodeAuto(c.bytes, 932).text);
    lint::FileLint f = lint::lintLines(src, opts);
    lint::lintFinish(std::span(&f, 1), opts);
    if (*c.rule) {
      bool found = false;
      for (const auto& x : f.findings) found = found || lint::lintRuleInfo(x.rule).id == std::string(c.rule);
      EXPECT_TRUE(found) << c.what;
    }
    for (const auto& x : f.findings) {
      EXPECT_GE(x.range.line, 1) << c.what;
      EXPECT_LE(size_t(x.range.line), std::max<size_t>(src.size(), 1)) << c.what;
    }
  }
}
