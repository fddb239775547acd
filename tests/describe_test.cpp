#include <gtest/gtest.h>

#include "TestSupport.h"
#include "reports/Description.h"

using namespace quenlit;
using namespace quenlit::test;

namespace {

TextList describeAt(std::string_view src, int oneBasedLine) { return functionDescription(lines(src), oneBasedLine - 1); }

}  // namespace

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
