// What every command of the command line shares: printing the pane reports byte for
// byte, refusing bad usage and unreadable files with exit code 2, and staying quiet
// (exit 0) when there is nothing to report. Each command's own options are tested
// beside the report they drive.
#include <gtest/gtest.h>

#include <algorithm>
#include <regex>
#include <sstream>

#include "TestSupport.h"
#include "source/CodeLines.h"
#include "source/SourceFile.h"

using namespace quenlit;
using namespace quenlit::test;

TEST(Cli, GoldenFiles) {
  const std::pair<const char*, const char*> cases[] = {
      {"outline", "outline-example"}, {"outline", "outline-sjis"}, {"parens", "parens-example"},
      {"parens", "parens-open"},      {"parens", "parens-close"},  {"funcs", "funcs-usage-example"},
      {"funcs", "funcs-usage-long"},  {"vars", "vars-example"},
  };
  for (const auto& [command, name] : cases) {
    auto r = runCli({command, fixture(std::string(name) + ".lsp").string()});
    EXPECT_EQ(r.code, 0) << name << ": " << r.err;
    EXPECT_EQ(r.out, readBytes(fixture(std::string(name) + ".expected"))) << name;
    EXPECT_EQ(r.err, "") << name;
  }
}

TEST(Cli, NothingToReportPrintsNothingAndSucceeds) {
  TempDir dir;
  const std::string none = (dir.path / "none.lsp").string(), empty = (dir.path / "empty.lsp").string(),
                    clean = (dir.path / "clean.lsp").string();
  writeBytes(none, "(setq a 1)\n");
  writeBytes(empty, "");
  writeBytes(clean, "(defun f (a / b) (setq b a))\r\n");
  const struct {
    std::vector<std::string> args;
    const char* out;
  } cases[] = {
      {{"outline", none}, ""},
      {{"parens", empty}, ""},
      {{"catalog", none}, ""},
      {{"describe", none, "1"}, ""},  // a line that holds no definition
      {{"search", "", none}, ""},
      {{"vars", clean}, "■変数チェック\n未使用変数、未宣言変数はありません．\n"},  // the pane says so itself
  };
  for (const auto& c : cases) {
    auto r = runCli(c.args);
    EXPECT_EQ(r.code, 0) << c.args[0] << ": " << r.err;
    EXPECT_EQ(r.out, c.out) << c.args[0];
    EXPECT_EQ(r.err, "") << c.args[0];
  }
}

TEST(Cli, UnreadableFileIsNamedAndStopsTheRun) {
  TempDir dir;
  const std::string missing = (dir.path / "missing.lsp").string(), folder = dir.path.string();
  const struct {
    std::vector<std::string> args;
    const std::string& named;
  } cases[] = {
      {{"outline", missing}, missing},  {{"vars", missing}, missing},          {{"parens", missing}, missing},
      {{"funcs", missing}, missing},    {{"catalog", missing}, missing},       {{"describe", missing, "1"}, missing},
      {{"copy", missing, "1"}, missing}, {{"search", "a", missing}, missing}, {{"outline", folder}, folder},
  };
  for (const auto& c : cases) {
    auto r = runCli(c.args);
    EXPECT_EQ(r.code, 2) << c.args[0];
    EXPECT_EQ(r.out, "") << c.args[0];
    EXPECT_EQ(r.err.rfind("quenlit: cannot read " + c.named + ": ", 0), 0u) << r.err;
  }
}

// Every command takes its options through one parser; each usage error names what
// was wrong. The file given exists, so only the usage can be at fault.
TEST(Cli, UsageErrors) {
  TempDir dir;
  const std::string f = fixture("vars-example.lsp").string();
  const struct {
    std::vector<std::string> args;
    const char* err;  // part of the message
  } cases[] = {
      {{}, "no command given"},
      {{"frobnicate"}, "unknown command: frobnicate"},
      {{"outline"}, "usage: quenlit outline"},
      {{"outline", f, f}, "usage: quenlit outline"},
      {{"outline", "--bogus", f}, "unknown option: --bogus"},
      {{"outline", "--ansi"}, "--ansi needs a value"},
      {{"outline", "--ansi", "99999", f}, "unknown code page: 99999"},
      {{"vars"}, "usage: quenlit vars"},
      {{"vars", f, f}, "usage: quenlit vars"},
      {{"vars", f, "--exclude"}, "--exclude needs a value"},
      {{"vars", "--exclude", "a", "--exclude", "b", f}, "--exclude given twice"},
      {{"funcs"}, "usage: quenlit funcs"},
      {{"funcs", f, "--builtins"}, "--builtins needs a value"},
      {{"funcs", "--builtins", "a", "--builtins", "b", f}, "--builtins given twice"},
      {{"parens", f, f}, "usage: quenlit parens"},
      {{"catalog"}, "usage: quenlit catalog"},
      {{"catalog", f, f}, "usage: quenlit catalog"},
      {{"describe", f}, "usage: quenlit describe"},
      {{"describe", f, "0"}, "LINE must be a line number from 1: 0"},
      {{"describe", f, "x"}, "LINE must be a line number from 1: x"},
      {{"copy", f}, "usage: quenlit copy"},
      {{"copy", f, "0"}, "LINE must be a line number from 1: 0"},
      {{"copy", f, "-1"}, "unknown option: -1"},
      {{"copy", "--name", "--name", f, "1"}, "--name given twice"},
      {{"search", f}, "usage: quenlit search"},
      {{"search", "--bogus", "a", f}, "unknown option: --bogus"},
  };
  for (const auto& c : cases) {
    auto r = runCli(c.args);
    const std::string what = c.args.empty() ? "(nothing)" : c.args[0] + " " + c.args.back();
    EXPECT_EQ(r.code, 2) << what;
    EXPECT_EQ(r.out, "") << what;
    EXPECT_EQ(r.err.rfind("quenlit: ", 0), 0u) << what << ": " << r.err;
    EXPECT_NE(r.err.find(c.err), std::string::npos) << what << ": " << r.err;
  }
  auto help = runCli({"--help"});
  EXPECT_EQ(help.code, 0);
  for (const char* command : {"outline", "vars", "parens", "funcs", "catalog", "describe", "copy", "search", "check [--format"})
    EXPECT_NE(help.out.find(command), std::string::npos) << command;
  auto version = runCli({"--version"});
  EXPECT_EQ(version.code, 0);
  EXPECT_EQ(version.out.rfind("quenlit ", 0), 0u);
}

TEST(Cli, AnsiOptionChangesTheFallbackCodePage) {
  auto r = runCli({"outline", "--ansi", "1252", fixture("outline-sjis.lsp").string()});
  EXPECT_EQ(r.code, 0);
  EXPECT_EQ(r.out.find("日本"), std::string::npos);
  EXPECT_NE(r.out.find("helper (lst)\t6"), std::string::npos);
}

// Over the real files: every outline row points at a line whose code holds a defun,
// and the parenthesis totals equal a plain count of "(" and ")" in the code lines,
// whichever way the file ends up.
TEST(Cli, CorpusOutlineRowsAndParenTotals) {
  QUENLIT_CORPUS_FILES(files);
  const std::regex balanced("^括弧数= (\\d+) : (\\d+)$");
  const std::regex unbalanced("^括弧数 = (\\d+) [<>] (\\d+), ");
  size_t rowsSeen = 0;
  for (const auto& f : files) {
    SourceLines src;
    ASSERT_TRUE(loadLspFile(f, src).ok) << f;
    const TextList code = makeCodeLines(src.lines);

    auto outline = runCli({"outline", f.string()});
    ASSERT_EQ(outline.code, 0) << f << outline.err;
    for (const auto& row : lines(outline.out)) {
      auto tab = row.rfind(u'\t');
      if (tab == Text::npos) continue;
      int line = std::stoi(U8(row.substr(tab + 1)));
      ASSERT_GE(line, 1);
      ASSERT_LE(size_t(line), code.size());
      EXPECT_NE(toUpperAscii(code[size_t(line) - 1]).find(u"(DEFUN "), Text::npos) << f << ":" << line;
      ++rowsSeen;
    }

    auto parens = runCli({"parens", f.string()});
    ASSERT_EQ(parens.code, 0) << f << parens.err;
    long long open = 0, close = 0;
    for (const auto& line : code) {
      open += std::count(line.begin(), line.end(), u'(');
      close += std::count(line.begin(), line.end(), u')');
    }
    bool found = false;
    std::smatch m;
    std::istringstream out(parens.out);
    for (std::string line; std::getline(out, line);) {
      if (std::regex_search(line, m, balanced) || std::regex_search(line, m, unbalanced)) {
        EXPECT_EQ(std::stoll(m[1]), open) << f;
        EXPECT_EQ(std::stoll(m[2]), close) << f;
        found = true;
      }
    }
    EXPECT_EQ(found, !src.lines.empty()) << f;
  }
  EXPECT_GT(rowsSeen, 100u);
}
