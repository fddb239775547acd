// Inputs built to hurt: huge, deep, binary or broken. Each must finish (in linear
// time: a quadratic pass would not finish within the test's timeout) with a sane result.
#include <gtest/gtest.h>

#include <random>

#include "TestSupport.h"
#include "source/CodeLines.h"
#include "source/DefunTable.h"
#include "source/Outline.h"
#include "source/SourceFile.h"
#include "text/Encoding.h"

using namespace quenlit;
using namespace quenlit::test;

namespace {

// Every command of the command line on a file of these bytes: each succeeds,
// complains of nothing and prints valid UTF-8, whatever the bytes were.
void runEveryCommand(const std::string& bytes) {
  TempDir dir;
  writeBytes(dir.path / "hostile.lsp", bytes);
  const std::string f = (dir.path / "hostile.lsp").string();
  for (const auto& args : std::vector<std::vector<std::string>>{
           {"outline", f}, {"vars", f}, {"parens", f}, {"funcs", f}, {"catalog", f}, {"describe", f, "1"},
           {"search", "defun", f}}) {
    auto r = runCli(args);
    EXPECT_EQ(r.code, 0) << args[0] << ": " << r.err;
    EXPECT_EQ(r.err, "") << args[0];
    EXPECT_TRUE(decodeUtf8Strict(r.out).has_value()) << args[0] << " printed invalid UTF-8";
  }
}

TextList load(const std::string& bytes) { return splitLines(decodeAuto(bytes, 932).text); }

}  // namespace

TEST(Hostile, MillionLines) {
  std::string bytes;
  bytes.reserve(16'000'000);
  for (int i = 0; i < 1'000'000; ++i) bytes += (i % 10 == 0) ? "(defun f (a) a)\n" : "  (setq x 1)\n";
  auto src = load(bytes);
  ASSERT_EQ(src.size(), 1'000'000u);
  auto rows = makeOutlineRows(src);
  ASSERT_EQ(rows.size(), 100'002u);  // two roots and one row per definition
  EXPECT_EQ(rows.back().line, 999'991);
  runEveryCommand(bytes);
}

TEST(Hostile, OneMegabyteLine) {
  std::string line = "(defun long (a b) (list";
  while (line.size() < 1'000'000) line += " a b \"s;t\" ; ";
  line += ")";
  auto src = load(line);
  ASSERT_EQ(src.size(), 1u);
  auto code = makeCodeLines(src);
  // The first ";" outside a string ends the line as a comment: the definition never closes.
  EXPECT_TRUE(makeDefunList(code, true).empty());
  std::string closed = "(defun long (a b) (list";
  while (closed.size() < 1'000'000) closed += " a b \"s;t\"";
  closed += "))";
  auto table = makeDefunList(makeCodeLines(load(closed)), false);
  ASSERT_EQ(table.size(), 1u);
  EXPECT_EQ(getDefunArgs(makeCodeLines(load(closed)), 0, 0), u"a\r\nb\r\n");
  runEveryCommand(closed);
}

TEST(Hostile, NulBytesAndRandomBinary) {
  const std::string zeros(1'000'000, '\0');
  auto nul = load(zeros);
  ASSERT_EQ(nul.size(), 1u);
  EXPECT_EQ(nul[0].size(), 1'000'000u);
  EXPECT_TRUE(makeOutlineRows(nul).empty());
  runEveryCommand(zeros);

  std::mt19937 rng(7);
  std::string junk(2'000'000, '\0');
  for (auto& c : junk) c = char(rng());
  TempDir dir;
  writeBytes(dir.path / "junk.lsp", junk);
  SourceLines sl;
  auto outcome = loadLspFile(dir.path / "junk.lsp", sl, {}, 932);
  ASSERT_TRUE(outcome.ok);
  EXPECT_EQ(U8(outcome.label), "ANSI");
  EXPECT_FALSE(sl.lines.empty());
  runEveryCommand(junk);
}

TEST(Hostile, DeepNestingAndManyDefunsOnOneLine) {
  std::string deep = "(defun deep (x)\n" + std::string(100'000, '(') + "x" + std::string(100'000, ')') + ")\n";
  auto table = makeDefunList(makeCodeLines(load(deep)), false);
  ASSERT_EQ(table.size(), 1u);
  EXPECT_EQ(parseDefunRecord(table[0])->endLine, 1);

  std::string many;
  for (int i = 0; i < 100'000; ++i) many += "(defun f" + std::to_string(i) + " () 1)";
  auto one = makeDefunList(makeCodeLines(load(many)), false);
  // Only the first definition of a line starts a record; the rest of the line is not looked at.
  ASSERT_EQ(one.size(), 1u);
  EXPECT_EQ(U8(one[0]), "f0 ,,0,0,0,14");
  runEveryCommand(deep);
  runEveryCommand(many);
}

TEST(Hostile, UnterminatedStringOrBlockCommentAtTheStart) {
  std::string body;
  for (int i = 0; i < 200'000; ++i) body += "(defun g" + std::to_string(i) + " (a) (* a 2))\n";
  for (const std::string& head : {std::string("(setq s \"never closed\n"), std::string(";| never closed\n")}) {
    auto src = load(head + body);
    auto code = makeCodeLines(src);
    ASSERT_EQ(code.size(), src.size());
    for (size_t i = 1; i < code.size(); ++i) ASSERT_TRUE(code[i].empty());  // all inside the opener
    EXPECT_TRUE(makeOutlineRows(src).empty());
    runEveryCommand(head + body);
  }
}

TEST(Hostile, BrokenUtf16) {
  // Odd byte count: the last byte becomes one replacement character.
  std::string odd("\xFF\xFE(\0d\0)\0\n", 9);
  auto t = decodeAuto(odd, 932);
  EXPECT_EQ(t.encoding, Encoding::Utf16LE);
  EXPECT_EQ(t.text, u"(d)\uFFFD");
  // Lone surrogates are kept as they are and survive a write back in UTF-16.
  std::string lone("\xFF\xFE\x00\xD8x\0\n\0\x00\xDC", 10);
  auto l = decodeAuto(lone, 932);
  Text expected = {char16_t(0xD800), u'x', u'\n', char16_t(0xDC00)};
  EXPECT_EQ(l.text, expected);
  EXPECT_EQ(encodeLines(splitLines(l.text), Encoding::Utf16LE, 932),
            std::string("\xFF\xFE\x00\xD8x\0\r\0\n\0\x00\xDC\r\0\n\0", 16));
  // In UTF-8 they become replacement characters rather than invalid bytes.
  EXPECT_EQ(encodeLines({Text(1, char16_t(0xD800))}, Encoding::Utf8, 932), "\xEF\xBB\xBF\xEF\xBF\xBD\r\n");
  runEveryCommand(odd);
  runEveryCommand(lone);
}
