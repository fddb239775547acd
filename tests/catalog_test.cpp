#include <gtest/gtest.h>

#include <regex>
#include <tuple>

#include "TestSupport.h"
#include "reports/Catalog.h"
#include "reports/Description.h"

using namespace quenlit;
using namespace quenlit::test;

namespace {

const CatalogClock kFixedClock{[] { return std::time_t(0); }, [](std::time_t) { return Text(u"2026/01/05 7:03:09"); }};

TextList catalog(std::string_view src, TextView fileName = u"x.lsp") {
  MemoryPane pane;
  NullProgress bar;
  makeLspIndex(lines(src), fileName, pane, bar, kFixedClock);
  return pane.all();
}

// The entries only, without the four header lines.
TextList entries(std::string_view src) {
  auto all = catalog(src);
  if (all.size() < 4) return all;
  return TextList(all.begin() + 4, all.end());
}

const Text kSep = u"--------------------------------------------------";

TextList describeAt(std::string_view src, int oneBasedLine) { return functionDescription(lines(src), oneBasedLine - 1); }

}  // namespace

TEST(Catalog, BoxExample) {
  TextList expected = {
      u"■ LISP関数カタログ ******************************",
      u" ファイル : box.lsp",
      u" 作成日時 : 2026/01/05 7:03:09",
      u"*********************************************** ■",
      kSep,
      u"□ area w h",
      u"\tarea of a rectangle",
      kSep,
      u"■ c:box ",
      u"\tdraws a box",
  };
  EXPECT_EQ(catalog(kBoxLsp, u"C:\\work\\lisp\\box.lsp"), expected);
  EXPECT_EQ(catalog(kBoxLsp, u"/home/u/box.lsp")[1], u" ファイル : box.lsp");
}

TEST(Catalog, EntryRules) {
  struct Case {
    const char* name;
    const char* src;
    std::vector<const char*> expected;  // after the header; "-" stands for the separator
  } cases[] = {
      {"a comment behind an empty line is not shown", ";; lost\n\n(defun a () 1)", {"-", "□ a "}},
      {"comment lines at the top of the file", ";; one\n;; two\n(defun a () 1)", {"-", "□ a ", "\tone", "\ttwo"}},
      {"block comments do not count", ";| block\n   text |;\n(defun a () 1)", {"-", "□ a "}},
      {"semicolons inside the text vanish", ";; a;b\n(defun a () 1)", {"-", "□ a ", "\tab"}},
      {"decoration lines", ";;;;;;;;\n;; ========\n;; =-=-\n(defun a () 1)", {"-", "□ a ", "\t=-=-"}},
      {"parameters over several lines", "(defun f (a\n  b\n  c / d)\n 1)", {"-", "□ f a b c"}},
      {"a parameter named c:x marks a command", "(defun f (c:x) 1)", {"-", "■ f c:x"}},
      {"nested definitions get no entry", "(defun outer ()\n  (defun inner (q) q)\n  1)", {"-", "□ outer "}},
      {"name order, commands mixed in, letter case ignored",
       "(defun zeta () 1)\n(defun C:Alpha () 1)\n(defun beta () 1)",
       {"-", "□ beta ", "-", "■ C:Alpha ", "-", "□ zeta "}},
      {"a shorter name sorts first", "(defun ab () 1)\n(defun a () 1)", {"-", "□ a ", "-", "□ ab "}},
  };
  for (const auto& c : cases) {
    TextList expected;
    for (auto* e : c.expected) expected.push_back(std::string_view(e) == "-" ? kSep : T(e));
    EXPECT_EQ(entries(c.src), expected) << c.name;
  }
}

TEST(Catalog, NothingToCatalogLeavesThePaneEmpty) {
  for (const char* src : {"", "(setq a 1)\n; comment", "(defun broken (a)\n  (+ a 1)"}) {
    MemoryPane pane;
    pane.addLine(u"previous report");
    NullProgress bar;
    bar.setPosition(40);
    makeLspIndex(lines(src), u"x.lsp", pane, bar, kFixedClock);
    EXPECT_TRUE(pane.all().empty()) << src;
    EXPECT_EQ(bar.position(), 0) << src;
  }
}

TEST(Catalog, HeaderTakesTheClocksTimeAndFormat) {
  CatalogClock clock{[] { return std::time_t(1234); }, [](std::time_t t) { return u"t=" + toText(t); }};
  MemoryPane pane;
  NullProgress bar;
  makeLspIndex(lines("(defun a () 1)"), u"a.lsp", pane, bar, clock);
  ASSERT_GE(pane.lineCount(), 3u);
  EXPECT_EQ(pane.line(2), u" 作成日時 : t=1234");
  EXPECT_EQ(bar.position(), 0);
}

TEST(Catalog, DateTimeFormat) {
  // Month and day in two digits, the hour as it is.
  const std::tuple<int, int, int, int, int, const char16_t*> cases[] = {{1, 5, 7, 3, 9, u"2026/01/05 7:03:09"},
                                                                       {12, 31, 23, 59, 58, u"2026/12/31 23:59:58"}};
  for (const auto& [mon, day, hour, min, sec, expected] : cases) {
    std::tm t{};
    t.tm_year = 2026 - 1900;
    t.tm_mon = mon - 1;
    t.tm_mday = day;
    t.tm_hour = hour;
    t.tm_min = min;
    t.tm_sec = sec;
    EXPECT_EQ(formatDateTime(t), expected);
  }
}

TEST(DefunComment, BlockAboveTheDefinition) {
  auto src = lines(kBoxLsp);
  struct Case {
    int line;
    int expectedLine;
    const char16_t* expectedComment;
  } cases[] = {
      {4, 2, u"   ----------\r\n   draws a box"},
      {10, 9, u"   area of a rectangle"},
      {0, 0, u""},    // the first line cannot have a block
      {2, 2, u""},    // line 1 is empty
      {1, 1, u""},    // line 0 is code
      {-3, -3, u""},
      {99, 99, u""},  // beyond the file
  };
  for (const auto& c : cases) {
    int line = c.line;
    Text comment = u"stale";
    getDefunComment(src, line, comment);
    EXPECT_EQ(line, c.expectedLine) << c.line;
    EXPECT_EQ(comment, c.expectedComment) << c.line;
  }
  auto top = lines("  ;; a\n;;b;c\n(defun f () 1)");
  int line = 2;
  Text comment;
  getDefunComment(top, line, comment);
  EXPECT_EQ(line, 0);
  EXPECT_EQ(comment, u"   a\r\n  bc");
}

// The command line takes the real clock: the header shows the local time.
TEST(CliCatalog, PrintsTheCatalogWithTheLocalTime) {
  TempDir dir;
  writeBytes(dir.path / "box.lsp", kBoxLsp);
  auto r = runCli({"catalog", (dir.path / "box.lsp").string()});
  EXPECT_EQ(r.code, 0) << r.err;
  auto out = lines(r.out);
  ASSERT_EQ(out.size(), 11u) << r.out;  // ten lines and the empty text after the last LF
  EXPECT_EQ(out[1], u" ファイル : box.lsp");
  EXPECT_TRUE(std::regex_match(U8(out[2]), std::regex(R"( 作成日時 : \d{4}/\d{2}/\d{2} \d{1,2}:\d{2}:\d{2})")))
      << U8(out[2]);
  EXPECT_EQ(out[9], u"\tdraws a box");
}

TEST(Description, CommentBlockAndSignature) {
  struct Case {
    const char* name;
    const char* src;
    int line;  // 1-based line of the "(defun"
    std::initializer_list<const char*> expected;
  } cases[] = {
      {"no comment above line 1",
       "(defun c:box (/ p1 p2) ; draw\n  (princ))", 1, {"(defun c:box (/ ...)"}},
      {"decoration lines around the text are left out",
       ";;; ------------\n;;; Draw a box\n;;; ------------\n(defun c:box (/ a)\n (princ))", 4,
       {";;; Draw a box", "(defun c:box (/ ...)"}},
      {"a blank line hides the comment",
       ";; hidden\n\n(defun f (a) a)", 3, {"(defun f (a)"}},
      {"blanks only count as a blank line",
       ";; hidden\n \t \n(defun f (a) a)", 3, {"(defun f (a)"}},
      {"a division in a one-line body ends the signature",
       "(defun half (x) (/ x 2))", 1, {"(defun half (x) (/ ...)"}},
      {"argument list over two lines",
       "(defun f (a\n  b / c)\n  (list a b))", 1, {"(defun f (a", "  b / ...)"}},
      {"blank inserted before the argument list",
       "(defun area(w h / r)(setq r (* w h)) r)", 1, {"(defun area (w h / ...)"}},
      {"a slash after the semicolon is not looked at",
       "(defun g (a) ; w/o locals\n a)", 1, {"(defun g (a)"}},
      {"a comment line inside the signature is kept without indent",
       "(defun h (a\n; second\nb)\n a)", 1, {"(defun h (a", "; second", "  b)"}},
      {"empty signature lines are skipped; a line opening with ( has no indent",
       "(defun k\n\n   \n  (a)\n a)", 1, {"(defun k", "(a)"}},
      {"one character repeated, or one letter, is decoration",
       ";;;;;;;;\n;; x\n;; ======\n;; =-=-\n(defun m () 1)", 5, {";; =-=-", "(defun m ()"}},
      {"tabs in comment text become spaces",
       "\t;;\tnote\there\n(defun n () 1)", 2, {";; note here", "(defun n ()"}},
      {"semicolons inside the text keep the line",
       "; a;b\n(defun p () 1)", 2, {"; a;b", "(defun p ()"}},
      {"the block may reach the top of the file",
       ";; first\n;; second\n(defun q () 1)", 3, {";; first", ";; second", "(defun q ()"}},
      {"a nested definition is described from its own line",
       "(defun outer ()\n  ;; helper\n  (defun inner(a) (* a 2))\n  (inner 1))", 3,
       {";; helper", "(defun inner (a)"}},
      {"no second parenthesis: nothing inserted",
       "((defun r () 1))", 1, {"((defun r ()"}},
      {"signature running to the end of the file", "(defun s (a\nb", 1, {"(defun s (a", "  b"}},
  };
  for (const auto& c : cases) EXPECT_EQ(describeAt(c.src, c.line), L(c.expected)) << c.name;
}

TEST(Description, LinesOutsideTheFileGiveNothing) {
  EXPECT_TRUE(describeAt("(defun a () 1)", 0).empty());
  EXPECT_TRUE(describeAt("(defun a () 1)", 2).empty());
  EXPECT_TRUE(functionDescription({}, 0).empty());
}

TEST(Description, PaneIsClearedAndFilledOnlyForDefinitionRows) {
  auto src = lines(";; adds\n(defun add (a b) (+ a b))");
  MemoryPane pane;
  pane.addLine(u"old report");
  writeFunctionDescription(pane, src, OutlineRow{1, u"add (a b)", 2, kIconDefun});
  EXPECT_EQ(pane.all(), (TextList{u";; adds", u"(defun add (a b)"}));

  writeFunctionDescription(pane, src, OutlineRow{0, u"Function", 0, kIconRoot});
  EXPECT_TRUE(pane.all().empty());

  pane.addLine(u"old report");
  writeFunctionDescription(pane, src, std::nullopt);
  EXPECT_TRUE(pane.all().empty());
}

TEST(CliDescribe, DescribesTheRowOnThatLine) {
  TempDir dir;
  writeBytes(dir.path / "d.lsp", ";; squares\n(defun sq (x) (* x x))\n(setq y 2)\n");
  auto r = runCli({"describe", (dir.path / "d.lsp").string(), "2"});
  EXPECT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.out, ";; squares\n(defun sq (x)\n");
}
