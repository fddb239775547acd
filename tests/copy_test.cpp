#include <gtest/gtest.h>

#include "TestSupport.h"
#include "reports/Catalog.h"
#include "reports/Description.h"
#include "reports/FunctionCopy.h"
#include "reports/LineSearch.h"
#include "source/SourceFile.h"

using namespace quenlit;
using namespace quenlit::test;

namespace {

// Copies the row standing on a 1-based line, the way the outline's menu does.
std::optional<FunctionCopy> copyAt(std::string_view src, int line) {
  const auto source = lines(src);
  const auto rows = makeOutlineRows(source);
  for (size_t k = 0; k < rows.size(); ++k)
    if (rows[k].level >= 1 && rows[k].line == line) {
      NullProgress bar;
      return copyFunctionRange(source, rows, k, bar);
    }
  ADD_FAILURE() << "no row on line " << line;
  return std::nullopt;
}

}  // namespace

TEST(FunctionCopy, CallForm) {
  struct Case {
    int level;
    const char16_t* text;
    const char16_t* expected;  // null: nothing to copy
  } cases[] = {
      {1, u"area (w h)", u"(area w h)"},
      {1, u"foo ()", u"(foo)"},
      {1, u"c:box", u"c:box"},
      {1, u"C:Box", u"C:Box"},
      {1, u"f (c:x)", u"f (c:x)"},  // any "C:" keeps the text as it is
      {2, u"inner", u"(inner"},
      {1, u"g (a (b) c)", u"(g a (b) c)"},
      {0, u"Function", nullptr},
  };
  for (const auto& c : cases) {
    OutlineRow row{c.level, c.text, 1, kIconDefun};
    auto got = functionCallText(row);
    if (c.expected)
      EXPECT_EQ(got, std::optional<Text>(c.expected)) << U8(c.text);
    else
      EXPECT_FALSE(got) << U8(c.text);
  }
}

TEST(FunctionCopy, FindDefunEnd) {
  const TextList code = {u"(a (b)", u" c)", u"", u"(d)", u"(e"};
  struct Case {
    int line, col;
    bool found;
    int endLine, endCol;
  } cases[] = {
      {0, 0, true, 1, 2},  {0, 3, true, 0, 5}, {3, 0, true, 3, 2},  {4, 0, false, 4, 0},
      {-1, 0, false, -1, 0}, {5, 0, false, 5, 0}, {0, -1, false, 0, -1},
  };
  for (const auto& c : cases) {
    int el = 99, ec = 99;
    EXPECT_EQ(findDefunEnd(code, c.line, c.col, el, ec), c.found) << c.line << "," << c.col;
    EXPECT_EQ(el, c.endLine) << c.line << "," << c.col;
    EXPECT_EQ(ec, c.endCol) << c.line << "," << c.col;
  }
  int el = 0, ec = 0;
  EXPECT_TRUE(findDefunEnd({u"(a", u"", u")"}, 0, 0, el, ec));
  EXPECT_EQ(el, 2);
  EXPECT_EQ(ec, 0);
}

TEST(FunctionCopy, WholeDefinitionRanges) {
  struct Case {
    const char* name;
    const char* src;
    int line;
    const char* clipboard;
  } cases[] = {
      {"command with its comment block", kBoxLsp, 5,
       ";; ----------\r\n;; draws a box\r\n(defun c:box (/ p1 p2)\r\n  (setq p1 (getpoint))\r\n"
       "  (setq p2 (getcorner p1))\r\n  (command \"rectang\" p1 p2)\r\n  (princ))\r\n"},
      {"one-line definition", kBoxLsp, 11,
       ";; area of a rectangle\r\n(defun area (w h / r) (setq r (* w h)))\r\n"},
      {"directly below a blank line", "(setq a 1)\n\n(defun f ()\n 1)", 3, "(defun f ()\r\n 1)\r\n"},
      {"nested: own comment to own end",
       "(defun outer ()\n  ;; helper\n  (defun inner (x)\n    (* x 2))\n  (inner 1))", 3,
       "  ;; helper\r\n  (defun inner (x)\r\n    (* x 2))\r\n"},
      {"nested closing on its parent's last line", "(defun p ()\n  (defun q () 1))", 2,
       "  (defun q () 1))\r\n"},
      {"first of two definitions of one name", "(defun dup (a)\n  a)\n;; second\n(defun dup (b) b)", 1,
       "(defun dup (a)\r\n  a)\r\n"},
      {"second of two definitions of one name", "(defun dup (a)\n  a)\n;; second\n(defun dup (b) b)", 4,
       ";; second\r\n(defun dup (b) b)\r\n"},
      {"nested in the second of two parents of one name",
       "(defun host ()\n  (defun aux () 1)\n  1)\n(defun host ()\n  (defun aux () 2)\n  2)", 5,
       "  (defun aux () 2)\r\n"},
      {"nested in the first of two parents of one name",
       "(defun host ()\n  (defun aux () 1)\n  1)\n(defun host ()\n  (defun aux () 2)\n  2)", 2,
       "  (defun aux () 1)\r\n"},
  };
  for (const auto& c : cases) {
    auto copy = copyAt(c.src, c.line);
    ASSERT_TRUE(copy) << c.name;
    EXPECT_TRUE(copy->ok) << c.name;
    EXPECT_EQ(copy->message, u"クリップボードにコピーしました．") << c.name;
    EXPECT_EQ(copy->clipboard, T(c.clipboard)) << c.name;
  }
}

TEST(FunctionCopy, RowsThatFindNoRange) {
  const auto source = lines("(defun foo (a)\n  (defun bar () 1)\n  a)");
  NullProgress bar;
  // Rows that no longer match the file (an outline built before the file changed).
  const std::vector<OutlineRow> stale = {
      {0, u"Function", 0, kIconRoot},
      {1, u"foo (a)", 7, kIconDefun},
      {2, u"bar", 2, kIconNested},
      {1, u"gone ()", 1, kIconDefun},
      {1, u"foo (a)", 1, kIconDefun},
      {2, u"bar", 3, kIconNested},
  };
  for (size_t k : {1u, 2u, 3u, 5u}) {
    auto copy = copyFunctionRange(source, stale, k, bar);
    ASSERT_TRUE(copy) << k;
    EXPECT_FALSE(copy->ok) << k;
    EXPECT_EQ(copy->message, u"行範囲の取得に失敗しました．") << k;
    EXPECT_TRUE(copy->clipboard.empty()) << k;
  }
  EXPECT_FALSE(copyFunctionRange(source, stale, 0, bar));   // a root
  EXPECT_FALSE(copyFunctionRange(source, stale, 99, bar));  // no row
  auto good = copyFunctionRange(source, stale, 4, bar);
  ASSERT_TRUE(good);
  EXPECT_TRUE(good->ok);
}

TEST(CliCopy, WholeDefinitionAndName) {
  TempDir dir;
  const auto file = (dir.path / "box.lsp").string();
  writeBytes(file, kBoxLsp);
  auto r = runCli({"copy", file, "5"});
  EXPECT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.out,
            ";; ----------\n;; draws a box\n(defun c:box (/ p1 p2)\n  (setq p1 (getpoint))\n"
            "  (setq p2 (getcorner p1))\n  (command \"rectang\" p1 p2)\n  (princ))\n");
  EXPECT_EQ(runCli({"copy", "--name", file, "11"}).out, "(area w h)\n");
  EXPECT_EQ(runCli({"copy", "--name", file, "5"}).out, "c:box\n");
  auto none = runCli({"copy", file, "1"});
  EXPECT_EQ(none.code, 1);
  EXPECT_EQ(none.out, "");
  EXPECT_NE(none.err.find("line 1"), std::string::npos) << none.err;
}

// Every definition of every real file: the copy is a run of its source lines that
// holds the definition's line, and the other report commands get through the file.
TEST(ReportsOnCorpus, EveryRowCopiesAndEveryCommandRuns) {
  QUENLIT_CORPUS_FILES(files);
  size_t rowsCopied = 0;
  for (const auto& f : files) {
    SourceLines src;
    ASSERT_TRUE(loadLspFile(f, src).ok) << f;
    const auto rows = makeOutlineRows(src.lines);
    for (size_t k = 0; k < rows.size(); ++k) {
      if (rows[k].level < 1) continue;
      NullProgress bar;
      auto copy = copyFunctionRange(src.lines, rows, k, bar);
      ASSERT_TRUE(copy);
      ASSERT_TRUE(copy->ok) << f << " row " << U8(rows[k].text) << " line " << rows[k].line;
      // Find the copied lines in the source: contiguous, ending at or after the row.
      const Text& clip = copy->clipboard;
      const int def = rows[k].line - 1;
      int first = def;
      Text comment;
      getDefunComment(src.lines, first, comment);
      Text expectedStart;
      for (int i = first; i <= def; ++i) expectedStart += src.lines[size_t(i)] + u"\r\n";
      ASSERT_EQ(clip.substr(0, expectedStart.size()), expectedStart) << f << " line " << rows[k].line;
      size_t lineCount = 0;
      for (size_t p = clip.find(u"\r\n"); p != Text::npos; p = clip.find(u"\r\n", p + 2)) ++lineCount;
      Text whole;
      for (size_t i = size_t(first); i < size_t(first) + lineCount; ++i) whole += src.lines[i] + u"\r\n";
      EXPECT_EQ(clip, whole) << f << " line " << rows[k].line;
      ++rowsCopied;
    }
    auto catalog = runCli({"catalog", f.string()});
    EXPECT_EQ(catalog.code, 0) << f;
    EXPECT_EQ(catalog.out.empty(), rows.empty()) << f;
    auto search = runCli({"search", "defun", f.string()});
    EXPECT_EQ(search.code, 0) << f;
    size_t withDefun = 0;
    for (const auto& l : src.lines) withDefun += toUpperAscii(l).find(u"DEFUN") != Text::npos;
    EXPECT_EQ(size_t(std::count(search.out.begin(), search.out.end(), '\n')), withDefun) << f;
    for (const auto& row : rows) {
      if (row.level < 1) continue;
      const std::string line = std::to_string(row.line);
      EXPECT_EQ(runCli({"describe", f.string(), line}).code, 0) << f;
      EXPECT_EQ(runCli({"copy", f.string(), line}).code, 0) << f;
      break;
    }
  }
  EXPECT_GT(rowsCopied, 100u);
}
