// The window's jumps and copies: the jump list, the result pane, the "E" button
// and the outline's copies, with the editor played by a fake desktop.
#include <gtest/gtest.h>

#include "AppFakes.h"
#include "reports/FunctionCopy.h"

using namespace quenlit;
using namespace quenlit::test;

namespace {

using Jumps = std::vector<std::string>;

// kDemo's outline: 0 "Command", 1 c:box (2), 2 inner (4), 3 "Function", 4 area (w h) (6).
struct Loaded : App {
  explicit Loaded(const std::string& source = kDemo) {
    start("demo.lsp", source);
    openInVSCode("demo.lsp");
  }
  void add(size_t row, bool atTop = false) {
    view.treeImpl.selected = row;
    atTop ? form.N5Click() : form.N6Click();
  }
  std::vector<int> lines() const {
    std::vector<int> l;
    for (const auto& e : form.jumpList()) l.push_back(e.line);
    return l;
  }
};

}  // namespace

TEST(MainFormJumpList, EntriesComeFromTheOutlineAndFollowTheFile) {
  Loaded app;
  app.add(4);
  app.add(1);
  app.add(1);        // already there
  app.add(0);        // a root
  app.add(2, true);  // N5: at the top
  EXPECT_EQ(app.view.jumpBox.texts(), (TextList{u"inner", u"area (w h)", u"c:box"}));
  EXPECT_EQ(app.lines(), (std::vector<int>{4, 6, 2}));

  // A reload drops the entry of a function that is only nested; the selected
  // entry stays selected, also when another one is inserted above it.
  app.view.jumpBox.selected = 1;
  app.write("demo.lsp", std::string(kDemo) + "(defun zz ())\n");
  app.form.reLoad();
  EXPECT_EQ(app.view.jumpBox.texts(), (TextList{u"area (w h)", u"c:box"}));
  EXPECT_EQ(app.view.jumpBox.selected, 0u);
  app.add(5, true);  // zz ()
  EXPECT_EQ(app.view.jumpBox.selected, 1u);

  // Enter and double-click jump even with "Jump" off; other keys are the list's.
  app.view.jump = false;
  EXPECT_TRUE(app.form.ListBox1KeyPress(u'\r'));
  EXPECT_FALSE(app.form.ListBox1KeyPress(u'a'));
  app.view.jumpBox.selected = 2;
  app.form.ListBox1DblClick();
  app.view.jumpBox.selected.reset();
  app.form.ListBox1DblClick();
  EXPECT_EQ(app.desktop.jumps(), (Jumps{"Ctrl+G 6", "Ctrl+G 2"}));

  // Functions moved down two lines: the entries follow.
  app.view.jumpBox.selected = 1;  // area (w h)
  app.write("demo.lsp", std::string("\n\n") + kDemo + "(defun zz ())\n");
  app.form.reLoad();
  EXPECT_EQ(app.view.jumpBox.texts(), (TextList{u"zz ()", u"area (w h)", u"c:box"}));
  EXPECT_EQ(app.lines(), (std::vector<int>{10, 8, 4}));
  EXPECT_EQ(app.view.jumpBox.selected, 1u);
  // The same text in other letters is not added again; area with a new parameter
  // is, and after the next rebuild both area entries jump to the first area.
  app.write("demo.lsp", "(defun AREA (w h) 1)\n(defun area (w h d) 2)\n(defun c:box () 1)\n");
  app.form.Button4Click();
  app.add(3);  // "AREA (w h)"
  app.add(4);  // "area (w h d)"
  EXPECT_EQ(app.view.jumpBox.texts(), (TextList{u"area (w h)", u"c:box", u"area (w h d)"}));
  EXPECT_EQ(app.lines(), (std::vector<int>{1, 3, 2}));
  app.form.reLoad();
  EXPECT_EQ(app.lines(), (std::vector<int>{1, 3, 1}));

  // A file without any defun leaves the list; opening a file empties it.
  app.write("demo.lsp", "(setq a 1)\n");
  app.form.reLoad();
  EXPECT_EQ(app.form.jumpList().size(), 3u);
  app.view.openAnswer = app.path("demo.lsp");
  app.form.Button1Click();
  EXPECT_TRUE(app.view.jumpBox.entries.empty());
}

TEST(MainFormJumpList, MenuItemsAndDragsReorder) {
  struct Case {
    const char* what;
    std::function<void(TForm25&)> act;
    std::optional<size_t> selected;  // before
    TextList order;                  // after
    std::optional<size_t> selectedAfter;
  };
  using OptIndex = std::optional<size_t>;
  const OptIndex none;
  const Case cases[] = {
      {"N8 on the first", [](TForm25& f) { f.N8Click(); }, 0, {u"a ()", u"b ()", u"c ()"}, 0},
      {"N8", [](TForm25& f) { f.N8Click(); }, 2, {u"a ()", u"c ()", u"b ()"}, 1},
      {"N9 on the last", [](TForm25& f) { f.N9Click(); }, 2, {u"a ()", u"b ()", u"c ()"}, 2},
      {"N9", [](TForm25& f) { f.N9Click(); }, 0, {u"b ()", u"a ()", u"c ()"}, 1},
      {"N9 with nothing selected", [](TForm25& f) { f.N9Click(); }, none, {u"a ()", u"b ()", u"c ()"}, none},
      {"N10", [](TForm25& f) { f.N10Click(); }, 1, {u"a ()", u"c ()"}, none},
      {"N10 with nothing selected", [](TForm25& f) { f.N10Click(); }, none, {u"a ()", u"b ()", u"c ()"}, none},
      {"N13", [](TForm25& f) { f.N13Click(); }, 1, {}, none},
      {"N7", [](TForm25& f) { f.N7Click(); }, none, {}, none},
      {"third dropped on the first", [](TForm25& f) { f.ListBox1DragDrop(2, 0); }, none,
       {u"c ()", u"a ()", u"b ()"}, 0},
      {"first dropped on the last", [](TForm25& f) { f.ListBox1DragDrop(0, 2); }, none,
       {u"b ()", u"c ()", u"a ()"}, 2},
      {"dropped below the last entry", [](TForm25& f) { f.ListBox1DragDrop(0, std::nullopt); }, none,
       {u"b ()", u"c ()", u"a ()"}, 2},
      {"dropped on itself", [](TForm25& f) { f.ListBox1DragDrop(1, 1); }, none, {u"a ()", u"b ()", u"c ()"}, 1},
      {"a drag that started off the entries", [](TForm25& f) { f.ListBox1DragDrop(std::nullopt, 0); }, 2,
       {u"a ()", u"b ()", u"c ()"}, 2},
  };
  for (const Case& c : cases) {
    Loaded app("(defun a () 1)\n(defun b () 2)\n(defun c () 3)\n");
    for (size_t row : {2, 3, 4}) app.add(row);
    app.view.jumpBox.selected = c.selected;
    c.act(app.form);
    EXPECT_EQ(app.view.jumpBox.texts(), c.order) << c.what;
    EXPECT_EQ(app.view.jumpBox.selected, c.selectedAfter) << c.what;
    // Every entry keeps its own line.
    for (const auto& e : app.form.jumpList()) EXPECT_EQ(e.line, int(e.text[0] - u'a' + 1)) << c.what;
  }
}

TEST(MainFormPane, DoubleClickAndMenuItemJumpFromReportLines) {
  Loaded app;
  app.view.edit2 = u"setq";
  app.form.Button11Click();
  ASSERT_EQ(app.paneLines(), (TextList{u"    3| (setq p1 (getpoint))", u"    7| (setq r (* w h)))"}));

  // The number the pane selected (with or without its "|") is a line.
  app.view.paneSel = {1, 4, 2};  // "7|"
  app.form.Memo2DblClick();
  // A function name: the selection is widened to the word and collapsed.
  app.view.jump = false;
  app.view.paneImpl.mem.addLine(u"see area|here");
  app.view.paneSel = {2, 5, 2};  // "re"
  app.form.Memo2DblClick();
  EXPECT_EQ(app.view.paneSel, (PaneSelection{2, 4, 0}));
  app.view.paneSel = {1, 4, 1};  // a number, "Jump" off: nothing
  app.form.Memo2DblClick();
  EXPECT_EQ(app.desktop.jumps(), (Jumps{"Ctrl+G 7", "Ctrl+G 6"}));

  // "選択した関数行へジャンプ": the selection must be a name alone.
  app.view.paneImpl.mem.addLine(u"  C:BOX  area)");
  app.view.paneSel = {3, 0, 7};
  app.form.N16Click();
  app.view.paneSel = {3, 9, 5};  // "area)"
  app.form.N16Click();
  EXPECT_EQ(app.desktop.jumps(), (Jumps{"Ctrl+G 7", "Ctrl+G 6", "Ctrl+G 2"}));
}

TEST(MainFormCopies, NameAndRangeGoToTheClipboard) {
  Loaded app;
  app.view.treeImpl.selected = 4;
  app.form.N1Click();
  EXPECT_EQ(app.view.clipboard, u"(area w h)");
  EXPECT_TRUE(app.view.messages.empty());
  app.view.treeImpl.selected = 1;
  app.form.N14Click();
  EXPECT_EQ(app.view.clipboard, T(";;; draws a box\r\n(defun c:box (/ p1 p2)\r\n  (setq p1 (getpoint))\r\n"
                                  "  (defun inner (a) (* a 2))\r\n  (princ))\r\n"));
  EXPECT_EQ(app.view.messages, (TextList{kCopiedMessage}));

  // A root copies nothing; a clipboard that cannot be had is said so.
  app.view.clipboard.clear();
  app.view.treeImpl.selected = 0;
  app.form.N1Click();
  app.form.N14Click();
  app.view.clipboardWorks = false;
  app.view.treeImpl.selected = 4;
  app.form.N14Click();
  app.form.N1Click();
  EXPECT_EQ(app.view.clipboard, u"");
  EXPECT_EQ(app.view.messages, (TextList{kCopiedMessage, Text(kClipboardFailedMessage), Text(kClipboardFailedMessage)}));
}
