#include <gtest/gtest.h>

#include "TestSupport.h"
#include "source/SourceFile.h"
#include "text/Encoding.h"
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

TEST(Utf8Strict, RejectsMalformedInput) {
  const char* bad[] = {
      "\xC0\x80",          // overlong NUL
      "\xE0\x80\x80",      // overlong three-byte
      "\xF0\x80\x80\x80",  // overlong four-byte
      "\xED\xA0\x80",      // surrogate D800
      "\xE3\x81",          // truncated
      "\xF4\x90\x80\x80",  // above U+10FFFF
      "\x80",              // lone continuation
      "ab\xFF",
  };
  for (auto* b : bad) EXPECT_FALSE(decodeUtf8Strict(b).has_value()) << b;
  EXPECT_EQ(*decodeUtf8Strict("\xE6\x97\xA5\xF0\x9F\x98\x80"), u"日\U0001F600");
  EXPECT_EQ(*decodeUtf8Strict(""), u"");
}

TEST(DecodeBytes, ByteOrderMarksChooseAndVanish) {
  const struct {
    std::string bytes;
    Encoding fallback, encoding;
    const char16_t* text;
  } cases[] = {
      {"\xEF\xBB\xBFx", Encoding::Ansi, Encoding::Utf8, u"x"},
      {std::string("\xFF\xFE" "a\0\xE5\x65", 6), Encoding::Utf8, Encoding::Utf16LE, u"a日"},
      {std::string("\xFE\xFF\0a\x65\xE5", 6), Encoding::Utf8, Encoding::Utf16BE, u"a日"},
      // Odd byte count: the stray byte becomes a replacement character, nothing is lost silently.
      {std::string("\xFF\xFE" "a\0b", 5), Encoding::Utf8, Encoding::Utf16LE, u"a\uFFFD"},
  };
  for (const auto& c : cases) {
    auto d = decodeBytes(c.bytes, c.fallback, 932);
    ASSERT_TRUE(d) << U8(c.text);
    EXPECT_EQ(d->text, c.text);
    EXPECT_EQ(d->encoding, c.encoding) << U8(c.text);
  }
}

TEST(DecodeBytes, InvalidUtf8FailsUnlessAnsi) {
  const std::string sjis = "\x93\xFA\x96\x7B\x8C\xEA";  // 日本語 in Shift-JIS
  EXPECT_FALSE(decodeBytes(sjis, Encoding::Utf8, 932));
  auto ansi = decodeBytes(sjis, Encoding::Ansi, 932);
  ASSERT_TRUE(ansi);
  EXPECT_EQ(ansi->text, u"日本語");
  EXPECT_EQ(ansi->encoding, Encoding::Ansi);
}

TEST(AnsiCodePage, ShiftJisKeepsAsciiAndNeverFails) {
  // 0x5C stays a backslash, as the LISP escapes need.
  EXPECT_EQ(ansiDecode("c:\\\\x ~", 932), u"c:\\\\x ~");
  EXPECT_EQ(ansiDecode("\x82\xA0\x5C", 932), u"あ\\");
  // Truncated lead byte at the end and stray bytes: something comes out, no failure.
  Text t = ansiDecode("a\x82", 932);
  EXPECT_EQ(t.substr(0, 1), u"a");
  EXPECT_EQ(t.size(), 2u);
  std::string all;
  for (int b = 0; b < 256; ++b) all += char(b);
  EXPECT_FALSE(ansiDecode(all, 932).empty());
  EXPECT_EQ(ansiEncode(u"あa", 932), "\x82\xA0" "a");
  EXPECT_EQ(ansiEncode(u"\U0001F600", 932), "??");  // one "?" per UTF-16 unit, as Windows writes
}

TEST(SplitLines, AllBreakKinds) {
  EXPECT_EQ(splitLines(u""), TextList{});
  EXPECT_EQ(splitLines(u"a"), TextList{u"a"});
  EXPECT_EQ(splitLines(u"a\r\n"), TextList{u"a"});
  EXPECT_EQ(splitLines(u"a\r\nb\rc\nd"), (TextList{u"a", u"b", u"c", u"d"}));
  EXPECT_EQ(splitLines(u"a\r\rb"), (TextList{u"a", u"", u"b"}));
  EXPECT_EQ(splitLines(u"\n\n"), (TextList{u"", u""}));
  EXPECT_EQ(splitLines(u"a\n\r"), (TextList{u"a", u""}));  // LF then a lone CR
  EXPECT_EQ(splitLines(u"x\r"), TextList{u"x"});
}

TEST(EncodeLines, WritesMarkAndCrLfInTheEncodingRead) {
  TextList l = {u"a", u"日"};
  EXPECT_EQ(encodeLines(l, Encoding::Utf8, 932), "\xEF\xBB\xBF" "a\r\n\xE6\x97\xA5\r\n");
  EXPECT_EQ(encodeLines(l, Encoding::Utf16LE, 932), std::string("\xFF\xFE" "a\0\r\0\n\0\xE5\x65\r\0\n\0", 14));
  EXPECT_EQ(encodeLines(l, Encoding::Utf16BE, 932), std::string("\xFE\xFF\0a\0\r\0\n\x65\xE5\0\r\0\n", 14));
  EXPECT_EQ(encodeLines(l, Encoding::Ansi, 932), "a\r\n\x93\xFA\r\n");
  EXPECT_EQ(encodeLines({}, Encoding::Ansi, 932), "");
}

TEST(LoadLspFile, LabelsAndEncodings) {
  TempDir dir;
  struct Case {
    std::string bytes;
    const char* label;
    Encoding enc;
    TextList lines;
  } cases[] = {
      {"(defun a ()\r\n  1)\r\n", "UTF8", Encoding::Utf8, {u"(defun a ()", u"  1)"}},
      {"(defun a ()\r  1)\r", "UTF8", Encoding::Utf8, {u"(defun a ()", u"  1)"}},
      {";\xE6\x97\xA5\xE6\x9C\xAC\n(x)", "UTF8", Encoding::Utf8, {u";日本", u"(x)"}},
      {";\x93\xFA\x96\x7B\n(x)", "ANSI", Encoding::Ansi, {u";日本", u"(x)"}},
      {std::string("\xFF\xFE;\0\xE5\x65\n\0", 8), "UTF8", Encoding::Utf16LE, {u";日"}},
      {"", "UTF8", Encoding::Utf8, {}},
  };
  int k = 0;
  for (const auto& c : cases) {
    auto p = dir.path / ("f" + std::to_string(k++) + ".lsp");
    writeBytes(p, c.bytes);
    SourceLines sl;
    int pumped = 0;
    auto r = loadLspFile(p, sl, [&] { ++pumped; }, 932);
    ASSERT_TRUE(r.ok) << r.error.reason;
    EXPECT_EQ(U8(r.label), c.label);
    EXPECT_EQ(sl.encoding, c.enc);
    EXPECT_EQ(sl.lines, c.lines);
    EXPECT_EQ(pumped, 1);
  }
}

TEST(LoadLspFile, UnreadableFileKeepsTheLinesAndSaysWhy) {
  TempDir dir;
  SourceLines sl;
  sl.lines = {u"kept"};
  auto missing = loadLspFile(dir.path / "none.lsp", sl, {}, 932);
  EXPECT_FALSE(missing.ok);
  EXPECT_FALSE(missing.error.reason.empty());
  EXPECT_EQ(U8(missing.label), "ANSI");
  EXPECT_EQ(sl.lines, TextList{u"kept"});

  auto folder = loadLspFile(dir.path, sl, {}, 932);
  EXPECT_FALSE(folder.ok);
  EXPECT_EQ(sl.lines, TextList{u"kept"});
}

TEST(FileLock, MissingIsNotLockedPlainFileIsFree) {
  TempDir dir;
  EXPECT_FALSE(isFileLocked(dir.path / "nothing.lsp"));
  writeBytes(dir.path / "a.lsp", "x");
  EXPECT_FALSE(isFileLocked(dir.path / "a.lsp"));
}

TEST(FileNamePart, TakesTextAfterLastDelimiter) {
  EXPECT_EQ(fileNamePart(u"C:\\work\\a.lsp"), u"a.lsp");
  EXPECT_EQ(fileNamePart(u"/tmp/b.lsp"), u"b.lsp");
  EXPECT_EQ(fileNamePart(u"c.lsp"), u"c.lsp");
  EXPECT_EQ(fileNamePart(u""), u"");
}
