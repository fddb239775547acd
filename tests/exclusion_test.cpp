#include <gtest/gtest.h>

#include <algorithm>

#include "TestSupport.h"
#include "checks/ExclusionList.h"
#include "checks/Words.h"
#include "text/Encoding.h"

using namespace quenlit;
using namespace quenlit::test;

namespace {

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
  EXPECT_EQ(load.error, "");
  EXPECT_EQ(load.list.size(), 57u);
  EXPECT_TRUE(sortedByList(load.list));
  for (const char* w : {"Pi", "PI", "pi", "NIL", "T", "*ERROR*", "acextents"}) EXPECT_TRUE(jogaiContains(load.list, T(w))) << w;
  for (const char* w : {"P", "pis", "acExtent", ""}) EXPECT_FALSE(jogaiContains(load.list, T(w))) << w;
}

TEST(ExclusionList, UserFileMerge) {
  TempDir exe;
  writeBytes(exe.path / "jogaiList.txt", "PAUSE\r\n\r\n  myConst \t\r\nmyconst\r\nmy const\r\n\t\r\n");
  const JogaiLoad load = loadJogaiList(exe.path);
  EXPECT_EQ(load.error, "");
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
    EXPECT_EQ(load.error, "") << c.what;
    EXPECT_EQ(load.list.size(), 58u) << c.what;
    EXPECT_EQ(countOf(load.list, c.word), 1u) << c.what;
  }
}

TEST(ExclusionList, UnreadableUserFileGivesAnErrorAndTheBuiltinWords) {
  TempDir exe;
  std::filesystem::create_directory(exe.path / "jogaiList.txt");
  const JogaiLoad load = loadJogaiList(exe.path);
  EXPECT_NE(load.error.find("jogaiList.txt"), std::string::npos) << load.error;
  TextList builtin = builtinJogaiWords();
  sortList(builtin);
  EXPECT_EQ(load.list, builtin);
}
