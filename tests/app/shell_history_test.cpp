#include <gtest/gtest.h>

#include "TestSupport.h"
#include "shell/FileHistory.h"

using namespace quenlit;
using namespace quenlit::test;

TEST(FileHistory, MostRecentFirstWithoutRepeats) {
  FileHistory h;
  h.touch(u"C:\\a.lsp");
  h.touch(u"C:\\b.lsp");
  h.touch(u"C:\\a.lsp");
  EXPECT_EQ(h.entries(), (TextList{u"C:\\a.lsp", u"C:\\b.lsp"}));

  // Another letter case is the same entry: it moves up in the new case, or keeps
  // its old case when it is on top already.
  h.touch(u"c:\\B.LSP");
  EXPECT_EQ(h.entries(), (TextList{u"c:\\B.LSP", u"C:\\a.lsp"}));
  h.touch(u"C:\\b.lsp");
  EXPECT_EQ(h.entries(), (TextList{u"c:\\B.LSP", u"C:\\a.lsp"}));

  h.touch(u"");
  EXPECT_EQ(h.entries().size(), 2u);
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

TEST(FileHistory, FileEncodingRules) {
  TempDir dir;
  const auto path = dir.path / "QuenlitHist.txt";
  FileError error;

  FileHistory missing;
  EXPECT_TRUE(missing.load(path, error));
  EXPECT_TRUE(missing.entries().empty());

  // No file: written in the ANSI code page, CR LF after every line.
  missing.touch(T("C:\\日本\\a.lsp"));
  missing.touch(u"C:\\b.lsp");
  ASSERT_TRUE(missing.save(path, error)) << error.reason;
  EXPECT_EQ(readBytes(path), "C:\\b.lsp\r\nC:\\\x93\xfa\x96{\\a.lsp\r\n");

  // A UTF-16 file with its mark is read and written back as UTF-16.
  writeBytes(path, std::string("\xFF\xFE" "a\0\r\0\n\0b\0", 10));
  FileHistory h16;
  ASSERT_TRUE(h16.load(path, error));
  EXPECT_EQ(h16.entries(), (TextList{u"a", u"b"}));
  h16.touch(u"c");
  ASSERT_TRUE(h16.save(path, error));
  EXPECT_EQ(readBytes(path), std::string("\xFF\xFE" "c\0\r\0\n\0a\0\r\0\n\0b\0\r\0\n\0", 20));

  // An ANSI file that must take a path the code page cannot hold turns into UTF-8
  // with its mark instead of losing characters.
  writeBytes(path, "old.lsp\r\n");
  FileHistory ansi;
  ASSERT_TRUE(ansi.load(path, error));
  ansi.touch(T("C:\\Émile.lsp"));
  ASSERT_TRUE(ansi.save(path, error));
  EXPECT_EQ(readBytes(path), "\xEF\xBB\xBF" "C:\\\xC3\x89mile.lsp\r\nold.lsp\r\n");
  FileHistory again;
  ASSERT_TRUE(again.load(path, error));
  EXPECT_EQ(again.entries()[0], T("C:\\Émile.lsp"));

  // The empty list is still written: an empty file.
  FileHistory none;
  ASSERT_TRUE(none.save(path, error));
  EXPECT_EQ(readBytes(path), "");
}
