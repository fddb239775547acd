#include <gtest/gtest.h>

#include <algorithm>

#include "TestSupport.h"
#include "checks/ExclusionList.h"
#include "checks/Words.h"
#include "source/CodeLines.h"
#include "text/Encoding.h"

using namespace quenlit;
using namespace quenlit::test;

namespace {

TextList code(std::string_view src) { return makeCodeLines(lines(src)); }

const TextList& builtin() {
  static const TextList list = mergeJogaiLines(builtinJogaiWords(), {});
  return list;
}

bool sortedByList(const TextList& list) {
  return std::is_sorted(list.begin(), list.end(), [](const Text& a, const Text& b) { return listLess(a, b); });
}

size_t countOf(const TextList& list, TextView word) { return size_t(std::count(list.begin(), list.end(), Text(word))); }

// Restores the system's code page however a test ends.
struct CodePage {
  explicit CodePage(unsigned cp) { setDefaultAnsiCodePage(cp); }
  ~CodePage() { setDefaultAnsiCodePage(0); }
};

}  // namespace

TEST(Words, BlankingKeepsLengthAndDropsHeadsQuotesAndParens) {
  struct Case {
    const char* in;
    const char* heads;   // after blankCallHeads
    const char* quotes;  // after blankQuotedWords of that
  } cases[] = {
      {"(setq a b)", "      a b ", "      a b "},
      {"((lambda (x y) 0)", "            y  0 ", "            y  0 "},
      {"( f a)", "( f a ", "  f a "},
      {"'(1 2)", "'(1 2 ", "    2 "},
      {"'(a b c)", "'(a b c ", "    b c "},
      {"(list 'foo 'bar)", "      'foo 'bar ", "                "},
      {"(f)", "   ", "   "},
      {"(", " ", " "},
      {"", "", ""},
  };
  for (const auto& c : cases) {
    const Text heads = blankCallHeads(T(c.in));
    EXPECT_EQ(heads, T(c.heads)) << c.in;
    EXPECT_EQ(blankQuotedWords(heads), T(c.quotes)) << c.in;
    EXPECT_EQ(heads.size(), T(c.in).size());
  }
}

TEST(Words, NumberWords) {
  for (const char* yes : {"12", "-3.5", ".5", "5.", "1e-3", "+1.5E+10", "0", "nan", "NaN", "INF", "+inf", "-Inf", " 7 "})
    EXPECT_TRUE(isNumberWord(T(yes))) << yes;
  for (const char* no : {".", "e5", "1e", "1e+", "", "+", "-", "1.2.3", "0x10", "--1", "+nan", "1,5", "12a", "１２", "infinity"})
    EXPECT_FALSE(isNumberWord(T(no))) << no;
}

TEST(Words, VariableWordsAndTheExclusionList) {
  const TextList none;
  for (const char* w : {"Pi", "PI", "pi", "t", "NIL", ":vlax-true", "ACEXTENTS", "*Error*"})
    EXPECT_FALSE(isVariableWord(T(w), builtin())) << w;
  for (const char* w : {"pi", "T", "nil", "acExtents"}) EXPECT_TRUE(isVariableWord(T(w), none)) << w;
  for (const char* w : {"nan", "inf", "1.5", "-2"}) {
    EXPECT_FALSE(isVariableWord(T(w), none)) << w;
    EXPECT_FALSE(isVariableWord(T(w), builtin())) << w;
  }
  for (const char* w : {"pt", "pi2", "my-pi", "*scale*", ".", "結果"}) EXPECT_TRUE(isVariableWord(T(w), builtin())) << w;
}

// Each source line taken through the code lines and collected with the built-in words.
TEST(Words, CollectedWordsOfSingleLines) {
  struct Case {
    const char* src;
    std::initializer_list<const char*> words;
  } cases[] = {
      {"(setq a 1)", {"a"}},
      {"(foreach x lst (princ x))", {"lst", "x"}},
      {"(lambda (a b) 0)", {"b"}},
      {"(mapcar '(lambda (x) (* 2 x)) lst)", {"lst", "x"}},
      {"(entget (car (entsel)))", {}},
      {"(list 'a 'b)", {}},
      {"(quote a)", {"a"}},
      {"(setq lst (cons '(8 . \"0\") lst))", {".", "lst"}},
      {"( a b)", {"a", "b"}},
      {"(setq p pi q T r nil)", {"p", "q", "r"}},
      {"(list nan inf 1e5 x)", {"x"}},
      {"Abc abc ABC", {"Abc"}},
      {"zeta Alpha beta *g* 2d", {"*g*", "2d", "Alpha", "beta", "zeta"}},
      {"(princ \"a b c\") ; d e f", {}},
      {"a,b c,,d e,", {"a", "b", "c", "d", "e"}},
      {"ＡＢ ａｂ", {"ＡＢ"}},
  };
  for (const auto& c : cases) EXPECT_EQ(collectWords(code(c.src), builtin()), L(c.words)) << c.src;
}

TEST(Words, ExclusionAppliesOnlyWhenTheListHasWords) {
  EXPECT_EQ(collectWords(L({"(setq p pi q T r nil)"}), {}), L({"nil", "p", "pi", "q", "r", "T"}));
  EXPECT_EQ(collectWords(L({"(list nan inf)"}), {}), L({}));
}

TEST(Words, CollectingManyLinesKeepsTheFirstSpellingAndSorts) {
  EXPECT_EQ(collectWords(L({"(setq Cnt 1)", "", "   ", "(setq cnt (1+ CNT) b cnt)"}), builtin()), L({"b", "Cnt"}));
}

TEST(Words, Locals) {
  struct Case {
    std::initializer_list<const char*> code;
    int line, col;
    std::initializer_list<const char*> locals;
  } cases[] = {
      {{"(defun f (a / b / c) 1)"}, 0, 0, {"c"}},
      {{"(defun f (a / b c)", "(setq b 1))"}, 0, 0, {"b", "c"}},
      {{"(defun f (/ z a a) 0)"}, 0, 0, {"a", "a", "z"}},
      {{"(defun f (a b) 0)"}, 0, 0, {}},
      {{"(defun f (a /", "  y x)", " 1)"}, 0, 0, {"x", "y"}},
      {{"(defun f (a /", "", "x)", " 1)"}, 0, 0, {"x"}},
      {{"(defun f (a / b", ") 1)"}, 0, 0, {"b"}},
      {{"(defun f (a / b", "  c", " d) 1)"}, 0, 0, {"b", "c", "d"}},
      {{"(defun f ((x) / y) 0)"}, 0, 0, {}},
      {{"(defun f (/ a"}, 0, 0, {}},
      {{"(defun f (/)"}, 0, 0, {}},
      {{"x (defun outer ()", "  (defun g (p / q r) q)"}, 1, 2, {"q", "r"}},
      {{"(defun f (/ a,,b) 0)"}, 0, 0, {"a", "b"}},
      {{"(defun f (a / b)"}, 5, 0, {}},
  };
  for (const auto& c : cases) EXPECT_EQ(getDefunLocals(L(c.code), c.line, c.col), L(c.locals)) << *c.code.begin();
}

TEST(Words, Body) {
  struct Case {
    std::initializer_list<const char*> code;
    int line, col;
    std::initializer_list<const char*> body;
  } cases[] = {
      {{"(defun f (a) (setq a 1))"}, 0, 0, {" (setq a 1))"}},
      {{"(defun f (a)(g a))"}, 0, 0, {")(g a))"}},
      {{"(defun c:demo (/ ent)", "(setq ent 1)", "(princ)) (tail)"}, 0, 0, {")", "(setq ent 1)", "(princ))"}},
      {{"(defun f (a)", "", "  x)"}, 0, 0, {" x)"}},
      {{"(defun f (a)", "", "  (g x))"}, 0, 0, {" (g x))"}},
      {{"  (defun g (x) x) y"}, 0, 2, {" x)"}},
      {{"(defun id (val) val)"}, 0, 0, {" val)"}},
      {{"(defun f ()", "  result", ")"}, 0, 0, {" result", ")"}},
      {{"(defun f (a) (setq a 1)"}, 0, 0, {}},
      {{"(defun f ((a)) 1)"}, 0, 0, {}},
      {{"(defun f (a) 1)"}, 3, 0, {}},
  };
  for (const auto& c : cases) EXPECT_EQ(getDefunBody(L(c.code), c.line, c.col), L(c.body)) << *c.code.begin();
}

TEST(Words, BodyWordsOfTopLevelAndNestedDefinitions) {
  // Nested text is blanked to the end of the line on which it closes.
  const TextList outer = L({"(defun outer (/ y)", "(defun inner () (g x)) (setq y 1)", "(setq z 2))"});
  EXPECT_EQ(getDefunWords(outer, 0, 0, builtin()), L({"z"}));
  EXPECT_EQ(getSubDefunWords(outer, 1, 0, builtin()), L({"x"}));

  // Text left after one nested definition closes does not shift the end of the next.
  const TextList two = L({"(defun outer ()", "(defun h1 () 1) (foo", "a)", "(defun h2 () 2)", "(setq zz 1))"});
  EXPECT_EQ(getDefunWords(two, 0, 0, builtin()), L({"a", "zz"}));

  // A nested definition over several lines, and a sub-function keeps its own nested text.
  const TextList deep = L({"(defun top (/ v)", "  (defun mid (m)", "    (defun low () (list w))", "    (+ m v))",
                           "  (setq v (mid 1) k 2)", ")"});
  EXPECT_EQ(getDefunWords(deep, 0, 0, builtin()), L({"k", "v"}));
  // Unblanked, the nested defun line leaves its name "low" as a word.
  EXPECT_EQ(getSubDefunWords(deep, 1, 2, builtin()), L({"low", "m", "v", "w"}));

  EXPECT_EQ(getDefunWords(L({"(defun f (/ a) (setq a 1))"}), 0, 0, builtin()), L({"a"}));
  EXPECT_EQ(getDefunWords(L({"(defun f (a / b c)", "(setq b 1))"}), 0, 0, builtin()), L({"b"}));
  EXPECT_EQ(getDefunWords(L({"(defun f (a)"}), 0, 0, builtin()), L({}));
  EXPECT_EQ(getDefunWords(L({"(defun getx () *x-value*)"}), 0, 0, builtin()), L({"*x-value*"}));
}

TEST(Words, LineWordsAndFreeWords) {
  const TextList lines = L({"(setq a 1)", "(setq b 2)", "(setq c 3)"});
  EXPECT_EQ(getLineWords(lines, 0, 2, builtin()), L({"a", "b", "c"}));
  EXPECT_EQ(getLineWords(lines, 1, 1, builtin()), L({"b"}));
  EXPECT_EQ(getLineWords(lines, 0, -1, builtin()), L({}));
  EXPECT_EQ(getLineWords(lines, 2, 1, builtin()), L({}));
  EXPECT_EQ(getLineWords(lines, 1, 99, builtin()), L({"b", "c"}));
  EXPECT_EQ(getLineWords({}, 0, 0, builtin()), L({}));

  const TextList sub = L({"(defun outer (/ v)", "(defun inner (p / q) (setq q (+ p V w)))", ")"});
  EXPECT_EQ(getSubFreeWords(sub, 1, 0, builtin()), L({"V", "w"}));
  EXPECT_EQ(getSubFreeWords(L({"(defun outer ()", "(defun inner (p) 1)", ")"}), 1, 0, builtin()), L({}));
  EXPECT_EQ(getDefunArgList(sub, 1, 0), L({"p"}));
  EXPECT_EQ(getDefunArgList(L({"(defun f (a,,b / c) 0)"}), 0, 0), L({"a", "b"}));
}

// "Same word" folds ASCII letters only; the list comparison also folds full-width ones.
TEST(Words, SubtractCommonAndDuplicateUseTheSameWordRule) {
  EXPECT_EQ(subtractWords(L({"z", "Abc", "m", "ＡＢ", "a"}), L({"ABC"}), L({"ａｂ", "A"})), L({"z", "m", "ＡＢ"}));
  EXPECT_EQ(subtractWords(L({}), L({"a"})), L({}));
  EXPECT_EQ(subtractWords(L({"b", "a", "b"}), L({})), L({"b", "a", "b"}));

  EXPECT_EQ(commonWords(L({"w", "h"}), L({"r", "w"})), T("w"));
  EXPECT_EQ(commonWords(L({"a", "b"}), L({"A", "a", "B"})), T("a a b"));
  EXPECT_EQ(commonWords(L({"x"}), L({"y"})), T(""));
  EXPECT_EQ(commonWords(L({"ａ"}), L({"Ａ"})), T(""));

  EXPECT_EQ(findDuplicateWords(L({"a", "a"})), T("a "));
  EXPECT_EQ(findDuplicateWords(L({"a", "a", "a"})), T("a a "));
  EXPECT_EQ(findDuplicateWords(L({"A", "b", "a", "B"})), T("A b "));
  EXPECT_EQ(findDuplicateWords(L({"a", "b"})), T(""));
  EXPECT_EQ(findDuplicateWords(L({})), T(""));
}

// Collecting must give what the two blanking steps and the split give, one line at a
// time, for any mix of the characters that matter.
TEST(Words, CollectingAgreesWithBlankingAndSplitting) {
  const char16_t alphabet[] = u"(()) ''aAbB,.1e\t\x01z";
  uint32_t seed = 7;
  auto next = [&] { return (seed = seed * 1103515245u + 12345u) >> 16; };
  for (int round = 0; round < 3000; ++round) {
    Text line;
    const size_t len = next() % 14;
    for (size_t i = 0; i < len; ++i) line += alphabet[next() % (std::size(alphabet) - 1)];
    if (next() % 20 == 0) line.insert(line.begin() + long(next() % (line.size() + 1)), char16_t(0));

    TextList expected;
    for (const auto& w : splitCommaText(blankQuotedWords(blankCallHeads(line)))) {
      if (w.empty() || !isVariableWord(w, builtin())) continue;
      bool held = false;
      for (const auto& e : expected) held = held || listEqual(e, w);
      if (!held) expected.push_back(w);
    }
    sortList(expected);
    ASSERT_EQ(collectWords({line}, builtin()), expected) << U8(line);
  }
}

TEST(ExclusionList, BuiltinWordsAreDistinct) {
  const TextList words = builtinJogaiWords();
  for (const char* w : {"T", "nil", "pause", "*error*", "PI", ":vlax-false", "vlax-vbEmpty", "vlax-vbArray", ":vlax-true",
                        "acSelectionSetWindow", "acAlignmentBottomRight", "acExtendBoth", "acMillimeters", "ac0degrees",
                        "ac270degrees", "acExtents", "acWindow", "acLayout"})
    EXPECT_EQ(countOf(words, T(w)), 1u) << w;
  TextList sorted = words;
  sortList(sorted);
  EXPECT_EQ(std::adjacent_find(sorted.begin(), sorted.end(), [](auto& a, auto& b) { return listEqual(a, b); }),
            sorted.end());
}

TEST(ExclusionList, WithoutUserFileHoldsTheBuiltinWordsSorted) {
  TempDir exe;
  const JogaiLoad load = loadJogaiList(exe.path);
  EXPECT_EQ(load.error.reason, "");
  EXPECT_EQ(load.list.size(), 57u);
  EXPECT_TRUE(sortedByList(load.list));
  for (const char* w : {"Pi", "PI", "pi", "NIL", "T", "*ERROR*", "acextents"}) EXPECT_TRUE(jogaiContains(load.list, T(w))) << w;
  for (const char* w : {"P", "pis", "acExtent", ""}) EXPECT_FALSE(jogaiContains(load.list, T(w))) << w;
}

TEST(ExclusionList, UserFileMerge) {
  TempDir exe;
  writeBytes(exe.path / "jogaiList.txt", "PAUSE\r\n\r\n  myConst \t\r\nmyconst\r\nmy const\r\n\t\r\n");
  const JogaiLoad load = loadJogaiList(exe.path);
  EXPECT_EQ(load.error.reason, "");
  EXPECT_EQ(load.list.size(), 59u);
  EXPECT_TRUE(sortedByList(load.list));
  EXPECT_EQ(countOf(load.list, u"myConst"), 1u);
  EXPECT_EQ(countOf(load.list, u"myconst"), 0u);
  EXPECT_EQ(countOf(load.list, u"pause"), 1u);
  EXPECT_EQ(countOf(load.list, u"PAUSE"), 0u);
  EXPECT_EQ(countOf(load.list, u"my const"), 1u);
  EXPECT_FALSE(isVariableWord(u"MYCONST", load.list));
  EXPECT_TRUE(isVariableWord(u"my", load.list));
  EXPECT_TRUE(isVariableWord(u"const", load.list));
}

// A mark chooses the encoding; without one the ANSI code page reads the file, even
// when its bytes would be valid UTF-8.
TEST(ExclusionList, UserFileEncodings) {
  const struct {
    const char* what;
    unsigned codePage;
    std::string bytes;
    const char16_t* word;
  } cases[] = {
      {"UTF-8 mark", 932, "\xEF\xBB\xBF\xE5\xAE\x9A\xE6\x95\xB0\r\n", u"定数"},
      {"UTF-16 LE mark", 932, std::string("\xFF\xFE\x9A\x5B\x70\x65\r\0\n\0", 10), u"定数"},
      {"UTF-16 BE mark", 932, std::string("\xFE\xFF\x5B\x9A\x65\x70\0\r\0\n", 10), u"定数"},
      {"no mark: cp932", 932, "\x92\xE8\x90\x94\r\n", u"定数"},
      {"no mark: cp1252", 1252, "\xC3\xA9t\xC3\xA9\n", u"\u00C3\u00A9t\u00C3\u00A9"},
  };
  for (const auto& c : cases) {
    CodePage cp(c.codePage);
    TempDir exe;
    writeBytes(exe.path / "jogaiList.txt", c.bytes);
    const JogaiLoad load = loadJogaiList(exe.path);
    EXPECT_EQ(load.error.reason, "") << c.what;
    EXPECT_EQ(load.list.size(), 58u) << c.what;
    EXPECT_EQ(countOf(load.list, c.word), 1u) << c.what;
  }
}

TEST(ExclusionList, UnreadableUserFileGivesAnErrorAndTheBuiltinWords) {
  TempDir exe;
  std::filesystem::create_directory(exe.path / "jogaiList.txt");
  const JogaiLoad load = loadJogaiList(exe.path);
  // The system's reason and its code, which the window's box words in the user's language.
  EXPECT_FALSE(load.error.reason.empty());
  EXPECT_NE(load.error.code, 0) << load.error.reason;
  TextList builtin = builtinJogaiWords();
  sortList(builtin);
  EXPECT_EQ(load.list, builtin);
}
