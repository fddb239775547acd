#include <gtest/gtest.h>

#include "TestSupport.h"
#include "source/CodeLines.h"
#include "source/DefunTable.h"
#include "shell/JumpList.h"
#include "source/Outline.h"

using namespace quenlit;
using namespace quenlit::test;

namespace {

TextList code(std::string_view src) { return makeCodeLines(lines(src)); }

const char* kWorkedExample =
    "(defun c:box (/ p1 p2) ; draw\n"
    "  (setq p1 (getpoint \"\\nFirst: \"))\n"
    "  (defun inner (a) (* a 2))\n"
    "  (princ))\n"
    "(defun area(w h / r)(setq r (* w h)) r)";

class RecordingBar : public ProgressBar {
 public:
  int position() const override { return pos; }
  void setPosition(int p) override {
    pos = p;
    history.push_back(p);
  }
  int pos = 0;
  std::vector<int> history;
};

}  // namespace

TEST(CodeLines, StringsAndCommentsVanish) {
  struct Case {
    const char* src;
    std::initializer_list<const char*> out;
  } cases[] = {
      {"(princ \"a;b\")", {"(princ )"}},
      {"(defun c:box (/ p1 p2) ; draw", {"(defun c:box (/ p1 p2) "}},
      {"(setq s \"say \\\"hi\\\"\") (foo)", {"(setq s ) (foo)"}},
      {"(setq s \"c:\\\\\") (bar)", {"(setq s ) (bar)"}},
      {"(setq s \"x\\\\\\\"y\") (baz)\n(next)", {"(setq s y", ""}},
      {";| block\nstill |; (setq a 1)", {"", " (setq a 1)"}},
      {";| a ; b |; (setq x 1)\nmore\nz |;(setq w 3)", {"", "", "(setq w 3)"}},
      {";| it\"s |; (setq q 1)\n(a)\n\"(b) |; (c)", {"", "", " (c)"}},
      {"x |; y", {"x | y"}},
      {"\t(a\tb)", {" (a b)"}},
      {"\"open\nstill open\" (c)", {"", " (c)"}},
  };
  for (const auto& c : cases) EXPECT_EQ(code(c.src), L(c.out)) << c.src;
}

TEST(CodeLines, HoldNoQuoteOrSemicolonAndKeepLineCount) {
  auto src = lines("a\"b;c\n;;x\n\"\"\n|;\n;|\n\"");
  auto c = makeCodeLines(src);
  ASSERT_EQ(c.size(), src.size());
  for (const auto& l : c) {
    EXPECT_EQ(l.find(u'"'), Text::npos);
    EXPECT_EQ(l.find(u';'), Text::npos);
  }
}

TEST(CodeLines, ProgressStepsThenReturnsToZero) {
  RecordingBar bar;
  TextList dest = {u"kept"};
  makeCodeLines({}, dest, bar, 30);
  EXPECT_EQ(dest, TextList{u"kept"});  // nothing to add
  EXPECT_EQ(bar.pos, 0);

  bar.history.clear();
  TextList src(100, u"(a)");
  TextList out;
  makeCodeLines(src, out, bar, 10);  // step 10: ten advances
  ASSERT_EQ(bar.history.size(), 11u);  // ten steps and the reset
  EXPECT_EQ(bar.history[9], 10);
  EXPECT_EQ(bar.history.back(), 0);
}

TEST(DefunTable, WorkedExample) {
  auto c = code(kWorkedExample);
  EXPECT_EQ(c, (TextList{u"(defun c:box (/ p1 p2) ", u"  (setq p1 (getpoint ))", u"  (defun inner (a) (* a 2))",
                         u"  (princ))", u"(defun area(w h / r)(setq r (* w h)) r)"}));
  EXPECT_EQ(makeDefunList(c, true),
            (TextList{u"c:box ,         ,0,0,3,9", u"c:box ,inner ,2,2", u"area,         ,4,0,4,38"}));
  EXPECT_EQ(makeDefunList(c, false), (TextList{u"c:box ,,0,0,3,9", u"c:box ,inner ,2,2", u"area,,4,0,4,38"}));
  EXPECT_EQ(getDefunArgs(c, 0, 0), u"");
  EXPECT_EQ(getDefunArgs(c, 4, 0), u"w\r\nh\r\n");
  EXPECT_EQ(getDefunArgs(c, 2, 2), u"a\r\n");
}

TEST(DefunTable, EdgeCases) {
  EXPECT_EQ(makeDefunList(code("(defun a () 1) (setq b 2)"), false), TextList{u"a ,,0,0,0,13"});
  EXPECT_EQ(makeDefunList(code("(defun foo\n  (a b)"), false), TextList{});
  // A missing ")" swallows every later defun as a pending nested entry.
  EXPECT_EQ(makeDefunList(code("(defun a ()\n(defun b () 1)\n(defun c () 2)"), false), TextList{});
  EXPECT_EQ(makeDefunList(code("(DeFuN\tx (y) y)"), false), TextList{u"x ,,0,0,0,14"});
  EXPECT_EQ(makeDefunList(code("(defun-q f () 1)"), false), TextList{});
  // A second definition starting on the end line of the first gets no record of its
  // own; it is taken as nested in the first.
  EXPECT_EQ(makeDefunList(code("(defun a ()\n1) (defun b () 2)"), false), (TextList{u"a ,,0,0,1,1", u"a ,b ,1,3"}));
  auto weird = makeDefunList(code("(defun my func (x) x)"), false);
  ASSERT_EQ(weird.size(), 1u);
  EXPECT_EQ(splitCommaText(weird[0]).size(), 7u);
  EXPECT_FALSE(parseDefunRecord(weird[0]));
}

TEST(DefunTable, EmptyCodeLinesLeaveTheTableAsItWas) {
  TextList table = {u"old"};
  RecordingBar bar;
  bar.pos = 7;
  makeDefunList({}, table, 20, bar, true);
  EXPECT_EQ(table, TextList{u"old"});
  EXPECT_EQ(bar.pos, 7);
}

TEST(DefunTable, NestedRecordsSortByNameThenPosition) {
  auto t = makeDefunList(code("(defun p ()\n (defun zeta () 1)\n (defun *error* (m) m)\n (defun Alpha () 2)\n)"), true);
  EXPECT_EQ(t, (TextList{u"p ,         ,0,0,4,0", u"p ,*error* ,2,1", u"p ,Alpha ,3,1", u"p ,zeta ,1,1"}));
}

TEST(DefunArgs, ListsSpreadOverLinesAndOddForms) {
  EXPECT_EQ(getDefunArgs(code("(defun f (a\nb / c)\n)"), 0, 0), u"a\r\nb\r\n");
  EXPECT_EQ(getDefunArgs(code("(defun g (\n) 1)"), 0, 0), u"");
  EXPECT_EQ(getDefunArgs(code("(defun h ((a b)) 1)"), 0, 0), u"");
  EXPECT_EQ(getDefunArgs(code("(defun k (\n  x y)\n)"), 0, 0), u"x\r\ny\r\n");
  EXPECT_EQ(getDefunArgs(code("(defun m (x\n/ y) 1)"), 0, 0), u"x\r\n");  // "/" at column 0 ends the line above
  EXPECT_EQ(getDefunArgs(code("(defun n ( ) 1)"), 0, 0), u"");
  EXPECT_EQ(getDefunArgs(code("(defun open (a b"), 0, 0), u"");  // never closed
  EXPECT_EQ(getDefunArgs(code("x"), 5, 0), u"");                 // out of range
}

// Rows as "level marks, text:line icon", the icon R(oot), D(efun) or N(ested).
TEST(Outline, Rows) {
  auto outline = [](std::string_view src) {
    std::vector<std::string> got;
    for (auto& r : makeOutlineRows(lines(src)))
      got.push_back(std::string(size_t(r.level), '>') + U8(r.text) + ":" + std::to_string(r.line) + " " +
                    (r.icon == kIconRoot ? "R" : r.icon == kIconDefun ? "D" : r.icon == kIconNested ? "N" : "?"));
    return got;
  };
  const struct {
    const char* name;
    const char* src;
    std::vector<std::string> rows;
  } cases[] = {
      {"worked example", kWorkedExample, {"Command:0 R", ">c:box:1 D", ">>inner:3 N", "Function:0 R", ">area (w h):5 D"}},
      {"no defun, one in a comment", "(setq a 1)\n; (defun x () 1)", {}},
      {"two definitions of one name keep their own children",
       "(defun f ()\n (defun in1 () 1))\n(defun f (x)\n (defun in2 () 2))\n(defun g () 0)",
       {"Command:0 R", "Function:0 R", ">f ():1 D", ">>in1:2 N", ">f (x):3 D", ">>in2:4 N", ">g ():5 D"}},
      {"the command test ignores case; rows follow the sorted table",
       "(defun zz () 1)\n(defun C:Go () 1)\n(defun aa (p / q) 1)\n(defun c:abc () 1)",
       {"Command:0 R", ">c:abc:4 D", ">C:Go:2 D", "Function:0 R", ">aa (p):3 D", ">zz ():1 D"}},
  };
  for (const auto& c : cases) EXPECT_EQ(outline(c.src), c.rows) << c.name;
}

TEST(JumpList, RefreshTakesNewLinesDropsVanishedNamesAndKeepsTheSelection) {
  struct Box final : JumpListBox {
    void show(const std::vector<JumpEntry>& e) override { shown = e, sel.reset(); }
    std::optional<size_t> selectedIndex() const override { return sel; }
    void select(std::optional<size_t> i) override { sel = i; }
    std::vector<JumpEntry> shown;
    std::optional<size_t> sel;
  } box;
  JumpList list(box);
  for (auto [text, line] : {std::pair{u"area (w h)", 1}, {u"inner", 4}, {u"gone ()", 3}, {u"C:BOX", 9}})
    list.add(OutlineRow{1, text, line}, false);
  box.sel = 3;  // C:BOX
  NullProgress bar;
  auto src = buildOutlineSource(lines("\n(defun area (w h) 1)\n(defun c:box ()\n (defun inner () 1))"), bar);
  list.refresh(src.table);
  ASSERT_EQ(box.shown.size(), 2u);
  EXPECT_EQ(box.shown[0].text, u"area (w h)");
  EXPECT_EQ(box.shown[0].line, 2);
  EXPECT_EQ(box.shown[1].text, u"C:BOX");
  EXPECT_EQ(box.shown[1].line, 3);
  EXPECT_EQ(box.sel, 1u);

  list.refresh({});  // an empty table changes nothing
  EXPECT_EQ(list.entries().size(), 2u);
}
