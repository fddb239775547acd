#include <gtest/gtest.h>

#include "TestSupport.h"
#include "text/Text.h"

using namespace quenlit;
using namespace quenlit::test;

TEST(SplitCommaText, FollowsTheItemRules) {
  struct Case {
    const char* in;
    std::initializer_list<const char*> items;
  } cases[] = {
      {"a b ", {"a", "b"}},
      {"x,,y", {"x", "", "y"}},
      {"", {}},
      {"   ", {}},
      {"a,", {"a", ""}},
      {"a, ", {"a"}},  // the comma is not the last character: no extra item
      {",a", {"", "a"}},
      {"c:box ,         ,0,0,3,9", {"c:box", "", "0", "0", "3", "9"}},
      {"\"a b\",c", {"a b", "c"}},
      {"\"say \"\"hi\"\"\" x", {"say \"hi\"", "x"}},
      {"\"open", {"open"}},
      {"my func ,,1,2,3,4", {"my", "func", "", "1", "2", "3", "4"}},
      {"\t a\tb", {"a", "b"}},
      {"日本 語", {"日本", "語"}},
  };
  for (const auto& c : cases) EXPECT_EQ(splitCommaText(T(c.in)), L(c.items)) << c.in;
}

TEST(SplitCommaText, StopsAtNul) {
  Text s = u"a,b";
  s += char16_t(0);
  s += u",c";
  EXPECT_EQ(splitCommaText(s), (TextList{u"a", u"b"}));
}

TEST(ListComparison, FoldsAsciiAndFullWidthLettersOnly) {
  EXPECT_EQ(listCompare(u"abc", u"ABC"), 0);
  EXPECT_EQ(listCompare(u"ａｂｃ", u"ＡＢＣ"), 0);  // full-width fold too
  EXPECT_NE(listCompare(u"ä", u"Ä"), 0);            // other letters compare exactly
  EXPECT_LT(listCompare(u"a", u"ab"), 0);
  EXPECT_LT(listCompare(u"A", u"b"), 0);
  EXPECT_LT(listCompare(u" ", u","), 0);  // a space sorts before a comma
  EXPECT_GT(listCompare(u"_", u"a"), 0);  // "a" folds to "A" (0x41), below "_" (0x5F)
}

TEST(ListComparison, SortIsStableAmongEqualKeys) {
  TextList l = {u"b", u"B", u"a", u"A", u"b"};
  sortList(l);
  EXPECT_EQ(l, (TextList{u"a", u"A", u"b", u"B", u"b"}));
}

TEST(TextHelpers, TrimUpperAndSameWord) {
  EXPECT_EQ(trim(u"\t\r\n  x y \x1f"), u"x y");
  EXPECT_EQ(trim(u"　x　"), u"　x　");  // full-width space is not trimmed
  EXPECT_EQ(toUpperAscii(u"c:Box_ä"), u"C:BOX_ä");
  EXPECT_TRUE(sameWordAscii(u"SetQ", u"SETQ"));
  EXPECT_FALSE(sameWordAscii(u"ｓｅｔｑ", u"ＳＥＴＱ"));
  EXPECT_TRUE(isBlank(u" \t"));
  EXPECT_FALSE(isBlank(u" x"));
}

TEST(TextHelpers, Utf8RoundTripAndLenientInput) {
  Text t = u"a日本\U0001F600";
  EXPECT_EQ(fromUtf8Lenient(toUtf8(t)), t);
  EXPECT_EQ(fromUtf8Lenient("a\xFF" "b"), u"a\uFFFDb");
  Text lone = u"x";
  lone += char16_t(0xD800);
  EXPECT_EQ(toUtf8(lone), "x\xEF\xBF\xBD");
}

TEST(TextHelpers, FindUpperAsciiIgnoresAsciiCaseOnly) {
  EXPECT_EQ(findUpperAscii(u"  (DeFuN x", u"(DEFUN "), 2u);
  EXPECT_EQ(findUpperAscii(u"((defun", u"(DEFUN"), 1u);  // a false start does not hide a later match
  EXPECT_EQ(findUpperAscii(u"(defunx", u"(DEFUN "), TextView::npos);
  EXPECT_EQ(findUpperAscii(u"ｄｅｆｕｎ", u"ＤＥＦＵＮ"), TextView::npos);  // full-width letters are not folded
  EXPECT_EQ(findUpperAscii(u"ab", u"ABC"), TextView::npos);
  EXPECT_TRUE(containsUpperAscii(u"my-vl-tool", u"VL-"));
}
