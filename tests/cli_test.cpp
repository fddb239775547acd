#include <gtest/gtest.h>

#include "TestSupport.h"
#include "source/CodeLines.h"
#include "source/SourceFile.h"
#include "text/Encoding.h"

using namespace quenlit;
using namespace quenlit::test;

TEST(CliOutline, GoldenFiles) {
  for (const char* name : {"outline-example", "outline-sjis"}) {
    auto r = runCli({"outline", fixture(std::string(name) + ".lsp").string()});
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, readBytes(fixture(std::string(name) + ".expected"))) << name;
  }
}

TEST(CliOutline, AnsiOptionChangesTheFallbackCodePage) {
  auto r = runCli({"outline", "--ansi", "1252", fixture("outline-sjis.lsp").string()});
  EXPECT_EQ(r.code, 0);
  EXPECT_EQ(r.out.find("日本"), std::string::npos);
  EXPECT_NE(r.out.find("helper (lst)\t6"), std::string::npos);
}

TEST(CliOutline, EmptyTablePrintsNothing) {
  TempDir dir;
  writeBytes(dir.path / "none.lsp", "(setq a 1)\n");
  auto r = runCli({"outline", (dir.path / "none.lsp").string()});
  EXPECT_EQ(r.code, 0);
  EXPECT_EQ(r.out, "");
}

TEST(CliOutline, ErrorsAndUsage) {
  TempDir dir;
  auto missing = (dir.path / "missing.lsp").string();
  auto r = runCli({"outline", missing});
  EXPECT_EQ(r.code, 2);
  EXPECT_EQ(r.err.rfind("quenlit: cannot read " + missing + ": ", 0), 0u) << r.err;
  EXPECT_EQ(r.out, "");

  // Every command takes its options through one parser: each option at most once.
  const std::vector<std::vector<std::string>> usageErrors = {
      {"outline", dir.path.string()},
      {"outline"},
      {"outline", "--ansi"},
      {"outline", "--ansi", "99999", "x.lsp"},
      {"outline", "--bogus", "x.lsp"},
      {"outline", "a.lsp", "b.lsp"},
      {"vars", "--exclude", "a", "--exclude", "b", "x.lsp"},
      {"funcs", "--builtins", "a", "--builtins", "b", "x.lsp"},
      {"copy", "--name", "--name", "x.lsp", "1"},
      {"describe", "x.lsp"},
      {"frobnicate"},
      {},
  };
  for (const auto& args : usageErrors) {
    auto u = runCli(args);
    EXPECT_EQ(u.code, 2) << (args.empty() ? "" : args[0]) << " " << args.size();
    EXPECT_NE(u.err.find("quenlit: "), std::string::npos);
  }
  auto help = runCli({"--help"});
  EXPECT_EQ(help.code, 0);
  EXPECT_NE(help.out.find("outline"), std::string::npos);
  auto version = runCli({"--version"});
  EXPECT_EQ(version.code, 0);
  EXPECT_EQ(version.out.rfind("quenlit ", 0), 0u);
}

TEST(CliOutline, BinaryGarbageGivesAResultNotACrash) {
  TempDir dir;
  std::string junk;
  uint32_t x = 12345;
  for (int i = 0; i < 200000; ++i) {
    x = x * 1103515245 + 12345;
    junk += char(x >> 24);
  }
  junk += "\n(defun tail (q) q)\n";
  writeBytes(dir.path / "junk.lsp", junk);
  auto r = runCli({"outline", (dir.path / "junk.lsp").string()});
  EXPECT_EQ(r.code, 0);
}

// Every row of every real file points at a line whose code holds a defun.
TEST(CliOutline, CorpusRowsPointAtDefunLines) {
  QUENLIT_CORPUS_FILES(files);
  size_t rowsSeen = 0;
  for (const auto& f : files) {
    auto r = runCli({"outline", f.string()});
    ASSERT_EQ(r.code, 0) << f << r.err;
    SourceLines src;
    ASSERT_TRUE(loadLspFile(f, src).ok);
    auto codeLines = makeCodeLines(src.lines);
    for (const auto& row : lines(r.out)) {
      auto tab = row.rfind(u'\t');
      if (tab == Text::npos) continue;
      int line = std::stoi(U8(row.substr(tab + 1)));
      ASSERT_GE(line, 1);
      ASSERT_LE(size_t(line), codeLines.size());
      EXPECT_NE(toUpperAscii(codeLines[size_t(line) - 1]).find(u"(DEFUN "), Text::npos) << f << ":" << line;
      ++rowsSeen;
    }
  }
  EXPECT_GT(rowsSeen, 100u);
}
