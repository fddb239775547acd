#include <gtest/gtest.h>

#include "TestSupport.h"
#include "reports/PaneNavigation.h"

using namespace quenlit;
using namespace quenlit::test;

namespace {

const char* kSource =
    "(defun foo (a / b)\n"     // 1
    "  (defun inner (x) x)\n"  // 2
    "  (inner a))\n"           // 3
    "(defun c:run ()\n"        // 4
    "  (foo 1)\n"              // 5
    "  (bar 2)\n"              // 6
    "  (princ))";              // 7

const char* kPane[] = {
    "   42| (setq a 1)",              // 0
    "*\xE3\x80\x80括弧数 = 9 > 8",   // 1
    "(foo)|x1|xa",                    // 2
    "  FOO inner bar",                // 3
    "",                               // 4
    "     ",                          // 5
    "c:run(foo",                      // 6
    "0 -3 +5 99999999999",            // 7
};

MemoryPane pane() {
  MemoryPane p;
  for (auto* l : kPane) p.addLine(T(l));
  return p;
}

}  // namespace

TEST(PaneNavigation, DoubleClick) {
  const auto source = lines(kSource);
  const auto rows = makeOutlineRows(source);
  const auto p = pane();
  struct Case {
    const char* name;
    PaneSelection sel;
    bool jump;
    std::optional<int> line;
    std::optional<size_t> caret;  // column of the collapsed selection; none when left alone
  } cases[] = {
      {"line number digits", {0, 3, 2}, true, 42, {}},
      {"digits with the bar", {0, 3, 3}, true, 42, {}},
      {"whole field with blanks", {0, 0, 6}, true, 42, {}},
      {"line number with Jump off", {0, 3, 2}, false, {}, {}},
      {"a count in a report line", {1, 8, 1}, true, 9, {}},
      {"signed number", {7, 5, 2}, true, 5, {}},
      {"a name stops before ) and |", {2, 1, 2}, false, 1, 1},
      {"x1 is a word, found nowhere", {2, 6, 2}, true, {}, 6},
      {"xa is a word, found nowhere", {2, 10, 0}, true, {}, 9},
      {"caret inside a name, other letter case", {3, 3, 0}, false, 1, 2},
      {"nested name: its first call", {3, 6, 5}, true, 3, 6},
      {"undefined name: its first call", {3, 13, 1}, true, 6, 12},
      {"empty line", {4, 0, 0}, true, {}, 0},
      {"blanks only", {5, 2, 0}, true, {}, 2},
      {"widening to the left over a colon", {6, 2, 0}, false, 4, 0},
      {"zero is not a line", {7, 0, 1}, true, {}, 0},
      {"a negative number is a word", {7, 2, 2}, true, {}, 2},
      {"too large for a line number", {7, 8, 11}, true, {}, 8},
  };
  for (const auto& c : cases) {
    NullProgress bar;
    auto out = resolvePaneDoubleClick(p, c.sel, c.jump, rows, source, bar);
    EXPECT_EQ(out.jumpLine, c.line) << c.name;
    if (c.caret) {
      ASSERT_TRUE(out.selection) << c.name;
      EXPECT_EQ(out.selection->line, c.sel.line) << c.name;
      EXPECT_EQ(out.selection->column, *c.caret) << c.name;
      EXPECT_EQ(out.selection->length, 0u) << c.name;
    } else {
      EXPECT_FALSE(out.selection) << c.name;
    }
    EXPECT_EQ(bar.position(), 0) << c.name;
  }
}

TEST(PaneNavigation, SelectionOutsideThePaneDoesNothing) {
  NullProgress bar;
  auto out = resolvePaneDoubleClick(pane(), {99, 0, 0}, true, makeOutlineRows(lines(kSource)), lines(kSource), bar);
  EXPECT_FALSE(out.jumpLine);
  MemoryPane empty;
  out = resolvePaneDoubleClick(empty, {0, 0, 0}, true, {}, {}, bar);
  EXPECT_FALSE(out.jumpLine);
}

TEST(PaneNavigation, SelectedTextSpansLinesWithCrLf) {
  MemoryPane p;
  p.addLine(u"ab");
  p.addLine(u"cd");
  EXPECT_EQ(selectedText(p, {0, 1, 1}), u"b");
  EXPECT_EQ(selectedText(p, {0, 1, 4}), u"b\r\nc");
  EXPECT_EQ(selectedText(p, {0, 0, 50}), u"ab\r\ncd");
  EXPECT_EQ(selectedText(p, {1, 0, 0}), u"");
}

TEST(PaneNavigation, JumpToSelectedFunctionLine) {
  const auto rows = makeOutlineRows(lines(kSource));
  struct Case {
    const char* selected;
    std::optional<int> line;
  } cases[] = {
      {" foo ", 1}, {"FOO", 1}, {"c:run", 4}, {"C:RUN\r\n", 4},
      {"foo)", {}}, {"foo (a)", {}}, {"inner", {}}, {"", {}}, {"   ", {}}, {"bar", {}},
  };
  for (const auto& c : cases) EXPECT_EQ(resolveSelectedFunction(T(c.selected), rows), c.line) << c.selected;
}

TEST(PaneNavigation, FirstTopLevelDefinitionWins) {
  const auto rows = makeOutlineRows(lines("(defun twice (a) a)\n(defun TWICE (b) b)"));
  EXPECT_EQ(findOutlineFunction(u"twice", rows), 1);
}
