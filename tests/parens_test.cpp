#include <gtest/gtest.h>

#include "TestSupport.h"
#include "pane/ResultPane.h"
#include "checks/ParenCheck.h"
#include "text/Encoding.h"

using namespace quenlit;
using namespace quenlit::test;

namespace {

struct CheckRun {
  TextList pane;
  ParenCheckResult result;
  int progressAfter = -1;
};

CheckRun check(std::string_view source) {
  MemoryPane pane;
  pane.addLine(u"left over from an earlier report");
  NullProgress progress;
  CheckRun r;
  r.result = runParenCheck(splitLines(T(source)), pane, progress);
  r.pane = pane.all();
  r.progressAfter = progress.position();
  return r;
}

TextList summary(int open, int close, int lines, int functions) {
  return {u"■全体の括弧数チェック", T("括弧数= " + std::to_string(open) + " : " + std::to_string(close)),
          T("行数= " + std::to_string(lines) + ", 関数= " + std::to_string(functions)), u"全体での括弧数は一致しています．"};
}

TextList operator+(TextList a, const TextList& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

}  // namespace

TEST(CountParens, RangesAndClamping) {
  const TextList code = {u"(a (b)", u"", u"c))", u"(d"};
  struct Case {
    int from, to;
    bool ok;
    int open, close;
  } cases[] = {
      {0, 0, true, 2, 1},  {0, 3, true, 3, 3}, {1, 2, true, 0, 2},  {2, 99, true, 1, 2},  // to clamped
      {3, 3, true, 1, 0},  {-1, 2, false, 0, 0}, {3, 2, false, 0, 0}, {4, 9, false, 0, 0},  // from past the end
  };
  for (const auto& c : cases) {
    int open = 7, close = 7;
    EXPECT_EQ(countParens(code, c.from, c.to, open, close), c.ok) << c.from << ".." << c.to;
    EXPECT_EQ(open, c.open) << c.from << ".." << c.to;
    EXPECT_EQ(close, c.close) << c.from << ".." << c.to;
  }
  int open = 1, close = 1;
  EXPECT_FALSE(countParens({}, 0, 0, open, close));
  EXPECT_EQ(open + close, 0);
}

TEST(DefunHeads, OnlyUnindentedDefunsAtTheFirstCharacter) {
  const TextList code = {u"(defun foo (a / b)", u"(DEFUN Bar(x)", u"  (defun nested (y) y)", u"(defun tail",
                         u"(defun-q q () 1)", u"x(defun late ()", u"(defun  spaced  (z)", u"(defun"};
  auto heads = collectDefunHeads(code);
  ASSERT_EQ(heads.size(), 4u);
  EXPECT_EQ(heads[0].name, u"foo ");
  EXPECT_EQ(heads[0].line, 0);
  EXPECT_EQ(heads[1].name, u"Bar");
  EXPECT_EQ(heads[2].name, u"tail");
  EXPECT_EQ(heads[2].line, 3);
  EXPECT_EQ(heads[3].name, u"spaced  ");
  EXPECT_EQ(heads[3].line, 6);
}

// The parenthesis check end to end on small files whose results are worked out by hand.
TEST(ParenCheck, BalancedFilesGiveTheSummary) {
  struct Case {
    const char* name;
    const char* source;
    TextList expected;
  };
  const Case cases[] = {
      {"no defun heads", "(setq a 1)\n(princ a)\n", summary(2, 2, 2, 0)},
      {"parens in strings and comments do not count", "(princ \"((\") ; ))\n(setq s \";(\") ;| ( |;\n",
       summary(2, 2, 2, 0)},
      {"nested defun counts as a function", "(defun outer ()\n  (defun inner () 1)\n  (inner))\n",
       summary(5, 5, 3, 2)},
      {"comment-only file", ";; nothing\n;; here\n", summary(0, 0, 2, 0)},
      {"first line is a head: no lead range", "(defun f () (g)\n)\n(defun h () 1)\n", summary(5, 5, 3, 2)},
      {"lead range unbalanced, whole file balanced",
       "(setq a (list 1 2)\n(defun f () 1))\n",
       TextList{u"■括弧数不一致", u"※(defun から次の (defun 直前まで", u"・行範囲 = 1～1", u"　括弧数 = 2 > 1",
        u"・行範囲 = 2～2", u"　括弧数 = 2 < 3", u"　範囲内にある関数 = f "} +
           summary(4, 4, 2, 1)},
  };
  for (const auto& c : cases) {
    CheckRun r = check(c.source);
    EXPECT_EQ(r.pane, c.expected) << c.name;
    EXPECT_FALSE(r.result.message.has_value()) << c.name;
    EXPECT_TRUE(r.result.scrollTop) << c.name;
    EXPECT_EQ(r.progressAfter, 0) << c.name;
  }
}

TEST(ParenCheck, EmptySourceLeavesAClearedPaneAndNoScroll) {
  CheckRun r = check("");
  EXPECT_TRUE(r.pane.empty());
  EXPECT_FALSE(r.result.scrollTop);
  EXPECT_FALSE(r.result.message.has_value());
}

TEST(ParenCheck, UnbalancedFilesGiveTheMessageDecision) {
  struct Case {
    const char* name;
    const char* source;
    bool moreOpen;
    const char* heading;
    const char* label;
    int jumpLine;
    const char* confirm;
    const char* plain;
  };
  const Case cases[] = {
      {"more open, defun found below T",
       "(defun a ()\n  (princ))\n(defun b (x)\n  (if x\n    (princ x)\n  )\n(defun c ()\n  (princ))\n", true,
       "括弧数 = 10 > 9, 上からの最終一致行 = 2", "defun b ", 3,
       "括弧数 = 10 > 9, 上からの最終一致行 = 2\nこれより下の行で括弧数が一致していません，\n"
       "(defun b ) 内か、それより上の 3 行までで一致していない可能性があります．\n(defun b ) へジャンプしますか？",
       "括弧数 = 10 > 9, 上からの最終一致行 = 2\nこれより下の行で括弧数が一致していません，\n"
       "(defun b ) 内か、それより上の 3 行までで一致していない可能性があります．"},
      // Nothing ever balances: T stays 0 and the search starts at index 1, past the defun itself.
      {"more open, no prefix balances", "(defun f ()\n  (princ)\n", true, "括弧数 = 3 > 2, 上からの最終一致行 = 1", "", 1,
       "括弧数 = 3 > 2, 上からの最終一致行 = 1\nこれより下の行で括弧数が一致していません，\n1 行へジャンプしますか？",
       "括弧数 = 3 > 2, 上からの最終一致行 = 1\nこれより下の行で括弧数が一致していません，"},
      {"more open, indented defun is found", "(setq x 1)\n(progn\n  (defun inner (a)\n    (+ a 1))\n", true,
       "括弧数 = 5 > 4, 上からの最終一致行 = 1", "defun inner ", 3,
       "括弧数 = 5 > 4, 上からの最終一致行 = 1\nこれより下の行で括弧数が一致していません，\n"
       "(defun inner ) 内か、それより上の 2 行までで一致していない可能性があります．\n(defun inner ) へジャンプしますか？",
       "括弧数 = 5 > 4, 上からの最終一致行 = 1\nこれより下の行で括弧数が一致していません，\n"
       "(defun inner ) 内か、それより上の 2 行までで一致していない可能性があります．"},
      {"more close, defun found above B", "(defun a ()\n  (princ)))\n(defun b ()\n  (princ))\n", false,
       "括弧数 = 6 < 7, 下からの最終一致行 = 3", "defun a ", 1,
       "括弧数 = 6 < 7, 下からの最終一致行 = 3\nこれより上の行で括弧数が一致していません，\n"
       "(defun a ) 内か、それより下の 2 行までで一致していない可能性があります．\n(defun a ) へジャンプしますか？",
       "括弧数 = 6 < 7, 下からの最終一致行 = 3\nこれより上の行で括弧数が一致していません．\n"
       "(defun a ) 内か、それより下の 2 行までで一致していない可能性があります．"},
      {"more close, B is 0: no search", "(princ))\n", false, "括弧数 = 1 < 2, 下からの最終一致行 = 1", "", 1,
       "括弧数 = 1 < 2, 下からの最終一致行 = 1\nこれより上の行で括弧数が一致していません，\n1 行へジャンプしますか？",
       "括弧数 = 1 < 2, 下からの最終一致行 = 1\nこれより上の行で括弧数が一致していません．"},
      // Lines of length 0 never become B, but a line of blanks does.
      {"more close, no defun above B", "(a))\n   \n;; only a comment\n(b)\n", false,
       "括弧数 = 2 < 3, 下からの最終一致行 = 2", "", 2,
       "括弧数 = 2 < 3, 下からの最終一致行 = 2\nこれより上の行で括弧数が一致していません，\n2 行へジャンプしますか？",
       "括弧数 = 2 < 3, 下からの最終一致行 = 2\nこれより上の行で括弧数が一致していません．"},
  };
  for (const auto& c : cases) {
    CheckRun r = check(c.source);
    ASSERT_TRUE(r.result.message.has_value()) << c.name;
    const ParenMessage& m = *r.result.message;
    EXPECT_EQ(m.moreOpen, c.moreOpen) << c.name;
    EXPECT_EQ(U8(m.heading), c.heading) << c.name;
    EXPECT_EQ(U8(m.defunLabel), c.label) << c.name;
    EXPECT_EQ(m.jumpLine, c.jumpLine) << c.name;
    EXPECT_EQ(U8(m.confirmText), c.confirm) << c.name;
    EXPECT_EQ(U8(m.plainText), c.plain) << c.name;
    EXPECT_TRUE(r.result.scrollTop) << c.name;
    // An unbalanced file adds no summary to the pane.
    for (const auto& line : r.pane) EXPECT_NE(line, u"■全体の括弧数チェック") << c.name;
  }
}

TEST(ParenCheck, ListingNamesBothRangesOfOppositeBalance) {
  CheckRun r = check("(defun p ()\n  (princ)\n(defun q ()\n  (princ)))\n");
  const TextList expected = {u"■括弧数不一致", u"※(defun から次の (defun 直前まで", u"・行範囲 = 1～2", u"　括弧数 = 3 > 2",
                             u"　範囲内にある関数 = p ", u"・行範囲 = 3～4", u"　括弧数 = 3 < 4", u"　範囲内にある関数 = q "};
  EXPECT_EQ(r.pane, expected + summary(6, 6, 4, 2));
}

TEST(ParenCheck, ListingAloneClearsThePaneAndSkipsEmptySources) {
  MemoryPane pane;
  NullProgress progress;
  pane.addLine(u"kept");
  listParenMismatch({}, pane, progress);
  EXPECT_EQ(pane.all(), TextList{u"kept"});
  listParenMismatch(lines("(defun a () 1)"), pane, progress);
  EXPECT_TRUE(pane.all().empty());
}
