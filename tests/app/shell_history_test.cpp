#include <gtest/gtest.h>

#include "TestSupport.h"
#include "shell/FileHistory.h"

using namespace quenlit;
using namespace quenlit::test;

TEST(FileHistory, MostRecentFirstWithoutRepeats) {
  FileHistory h;
  for (const char16_t* p : {u"C:\\a.lsp", u"C:\\b.lsp", u"C:\\a.lsp"}) h.touch(p);
  EXPECT_EQ(h.entries(), (TextList{u"C:\\a.lsp", u"C:\\b.lsp"}));

  // Another letter case is the same entry: it moves up in the new case, or keeps
  // its old case when it is on top already. An empty name is never taken.
  h.touch(u"c:\\B.LSP");
  EXPECT_EQ(h.entries(), (TextList{u"c:\\B.LSP", u"C:\\a.lsp"}));
  h.touch(u"C:\\b.lsp");
  h.touch(u"");
  EXPECT_EQ(h.entries(), (TextList{u"c:\\B.LSP", u"C:\\a.lsp"}));
}

TEST(FileHistory, FortyEntriesAtMostAfterAnUpdate) {
  FileHistory h;
  TextList hand;
  for (int i = 0; i < 45; ++i) hand.push_back(u"f" + toText(i));
  h.setEntries(hand);
  EXPECT_EQ(h.entries().size(), 45u);  // taken unchanged until the next update
  h.touch(u"f3");
  ASSERT_EQ(h.entries().size(), 40u);
  EXPECT_EQ(h.entries()[0], u"f3");
  EXPECT_EQ(h.entries()[39], u"f39");
  h.touch(u"new");
  EXPECT_EQ(h.entries().size(), 40u);
  EXPECT_EQ(h.entries()[39], u"f38");
}

// Written back in the encoding it was read in, CR LF after every line, and read
// back as written.
TEST(FileHistory, FileEncodingRules) {
  const struct {
    const char* what;
    std::optional<std::string> before;  // none: no file
    std::vector<std::string> touched;   // UTF-8, oldest first
    std::string after;
  } cases[] = {
      {"no file: ANSI (Shift-JIS here)", {}, {"C:\\日本\\a.lsp", "C:\\b.lsp"}, "C:\\b.lsp\r\nC:\\\x93\xfa\x96{\\a.lsp\r\n"},
      {"UTF-16 with its mark", std::string("\xFF\xFE" "a\0\r\0\n\0b\0", 10), {"c"},
       std::string("\xFF\xFE" "c\0\r\0\n\0a\0\r\0\n\0b\0\r\0\n\0", 20)},
      // Rather than lose characters, an ANSI file turns into UTF-8 with its mark.
      {"ANSI, a path the code page cannot hold", "old.lsp\r\n", {"C:\\Émile.lsp"},
       "\xEF\xBB\xBF" "C:\\\xC3\x89mile.lsp\r\nold.lsp\r\n"},
      {"the empty list: an empty file", {}, {}, ""},
  };
  for (const auto& c : cases) {
    TempDir dir;
    const auto path = dir.path / "QuenlitHist.txt";
    if (c.before) writeBytes(path, *c.before);
    FileError error;
    FileHistory h;
    ASSERT_TRUE(h.load(path, error)) << c.what;
    for (const auto& t : c.touched) h.touch(T(t));
    ASSERT_TRUE(h.save(path, error)) << c.what << ": " << error.reason;
    EXPECT_EQ(readBytes(path), c.after) << c.what;
    FileHistory again;
    ASSERT_TRUE(again.load(path, error)) << c.what;
    EXPECT_EQ(again.entries(), h.entries()) << c.what;
  }
}
