// The main window's logic on fake views. What a user sees on a straight path
// (captions, outline and report texts, the settings a close writes without the
// window's place) is pinned by the end-to-end tests under Wine; these tests
// keep the edges: refusals, damaged and locked files, the order of calls.
#include <gtest/gtest.h>

#include "AppFakes.h"
#include "TestSupport.h"
#include "app/MainForm.h"
#include "shell/HelpWindow.h"
#include "text/TextFile.h"

using namespace quenlit;
using namespace quenlit::test;
namespace fs = std::filesystem;

namespace {

TextList rowTexts(const std::vector<OutlineRow>& rows) {
  TextList t;
  for (const auto& r : rows) t.push_back(r.text);
  return t;
}

// The variable check's report on kDemo (and on kDemo with a function added that
// uses its argument), its head on line `line`: p2 is a local never used.
TextList demoReport(int line = 2) {
  return {u"    " + toText(line) + u"| c:box ( / p1 p2 )", u"     [未使用]", u"     p2 "};
}

}  // namespace

TEST(MainFormStartup, DamagedFilesGiveDefaultsAndTheHookFollowsReload) {
  App app;
  app.write("QuenlitX.ini", std::string("\xFF\xFE\x00[\x00Q", 6) + "\n\n=\x01\x02 junk");
  app.write("QuenlitHist.txt", std::string("\x00\x01\xFE garbage\r\n\r\n", 14));
  app.write("TargetCAD_APIVersion.txt", std::string("\xFF\xFE\x01", 3));
  app.form.FormCreate();
  EXPECT_EQ(app.view.caption, u"Quenlit");
  EXPECT_EQ(app.view.editor, 0);
  EXPECT_TRUE(app.view.jump);
  EXPECT_TRUE(app.view.ctrlG);
  EXPECT_EQ(app.form.progId(), u"BricscadApp.AcadApplication");
  EXPECT_EQ(app.form.fileHistSL().size(), 2u);  // taken as written
  EXPECT_TRUE(app.view.errors.empty());
  // The hook installed at start-up goes again when the stored Reload is off.
  EXPECT_FALSE(app.bridges.hook);
  EXPECT_EQ(app.bridges.log, (std::vector<std::string>{"allowHookMessage", "installHook", "removeHook",
                                                       "registerFilter"}));

  // A last file that is gone is forgotten and written back empty.
  App stale;
  stale.write("QuenlitX.ini", "[Quenlit]\nLspFullName=" + toUtf8(stale.path("gone.lsp")) + "\n");
  stale.form.FormCreate();
  EXPECT_EQ(stale.form.lspFullName(), u"");
  stale.form.FormDestroy();
  EXPECT_NE(stale.read("QuenlitX.ini").find("LspFullName=\r\n"), std::string::npos);
}

TEST(MainFormStartup, StoredSettingsAndLastFile) {
  App app;
  app.write("demo.lsp", kDemo);
  app.write("QuenlitX.ini", "[Quenlit]\r\nTargetEditor=3\r\nJumpCheak=0\r\nReloadCheak=1\r\nCTRLG2Cheak=0\r\n"
                            "LspFullName=" + toUtf8(app.path("demo.lsp")) + "\r\nWindowLeft=2500\r\nWindowTop=-90\r\n"
                            "WindowWidth=300\r\nWindowHeight=600\r\nLowerPanelHeight=250\r\n[Target]\r\nProgID=My.Cad\r\n");
  app.write("TargetCAD_APIVersion.txt", "Other\tX.Y\r\nMy CAD\tMy.Cad\r\n");
  app.form.FormCreate();
  // Left on a screen that is gone: back on this one, whole, with the panels as the user left them.
  EXPECT_EQ(app.view.window, (ScreenRect{1620, 0, 1920, 600}));
  EXPECT_EQ(app.view.panels, (PanelHeights{193, 250}));
  EXPECT_EQ(app.view.editor, 3);
  EXPECT_FALSE(app.view.jump);
  EXPECT_TRUE(app.bridges.hook);  // Reload stays on: its handler never ran
  EXPECT_FALSE(app.view.ctrlG);
  EXPECT_EQ(app.form.progId(), u"My.Cad");
  EXPECT_EQ(app.view.caption, u"QuenlitX [ My CAD ]");
  EXPECT_EQ(app.view.openDialogName, app.path("demo.lsp"));
  EXPECT_EQ(app.view.treeImpl.builds, 1);
  // Start-up runs reLoad, which puts the file on top of the history.
  EXPECT_EQ(app.read("QuenlitHist.txt"), toUtf8(app.path("demo.lsp")) + "\r\n");
}

TEST(MainFormStartup, AnUnreadableHistoryIsReportedAndNotOverwritten) {
  App app;
  app.write("demo.lsp", kDemo);
  const std::string old = "C:\\old\\one.lsp\r\n";
  app.write("QuenlitHist.txt", old);
  {
    FileHold hold(app.file("QuenlitHist.txt"));
    std::string probe;
    FileError readError;
    if (readFileBytes(app.file("QuenlitHist.txt"), probe, readError))
      GTEST_SKIP() << "files cannot be held against reading here";
    app.form.FormCreate();
    EXPECT_EQ(app.view.errors, (TextList{app.path("QuenlitHist.txt")}));
    app.form.dropFiles({app.path("demo.lsp")});  // its makeFileHist must not write over the file
  }
  EXPECT_EQ(app.read("QuenlitHist.txt"), old);
  // Readable again: the next update starts from what the file holds.
  app.form.makeFileHist();
  EXPECT_EQ(app.read("QuenlitHist.txt"), toUtf8(app.path("demo.lsp")) + "\r\n" + old);
}

// One rule for every path that writes the history: a failed write is reported
// once, and again only after a write has succeeded.
TEST(MainFormHistory, AFailedWriteIsReportedOnceUntilAWriteSucceeds) {
  App app;
  app.start();
  const auto blockHistory = [&] {
    fs::remove_all(app.file("QuenlitHist.txt"));
    fs::create_directory(app.file("QuenlitHist.txt"));
  };
  blockHistory();
  app.form.dropFiles({app.path("demo.lsp")});
  app.form.reLoad();
  app.view.historyAnswer = {kMrYes, 0};  // "削除"
  app.form.Button10Click();
  EXPECT_EQ(app.view.errors, (TextList{app.path("QuenlitHist.txt")}));
  fs::remove(app.file("QuenlitHist.txt"));
  app.form.makeFileHist();
  EXPECT_TRUE(fs::is_regular_file(app.file("QuenlitHist.txt")));
  blockHistory();
  app.form.makeFileHist();
  EXPECT_EQ(app.view.errors.size(), 2u);
}

TEST(MainFormExit, WritesEveryKeyAndTheHistory) {
  App app;
  app.start();
  app.view.editor = -1;  // a typed text that matches no item
  app.view.jump = false;
  app.view.window = {-40, 120, 260, 720};  // moved and sized by the user, partly off the screen
  app.view.panels = {210, 150};
  app.form.CTRLG2Click();
  app.bridges.log.clear();
  app.form.FormDestroy();
  EXPECT_EQ(app.read("QuenlitX.ini"), "[Quenlit]\r\nTargetEditor=-1\r\nJumpCheak=0\r\nReloadCheak=0\r\nLspFullName=" +
                                          toUtf8(app.path("demo.lsp")) +
                                          "\r\nCTRLG2Cheak=0\r\nWindowLeft=-40\r\nWindowTop=120\r\nWindowWidth=300\r\nWindowHeight=600\r\n"
            "ControlPanelHeight=210\r\nLowerPanelHeight=150\r\n[Target]\r\nProgID=BricscadApp.AcadApplication\r\n");
  EXPECT_EQ(app.read("QuenlitHist.txt"), toUtf8(app.path("demo.lsp")) + "\r\n");
  EXPECT_EQ(app.bridges.log, (std::vector<std::string>{"revokeFilter", "removeHook"}));
}

TEST(MainFormLoad, DropTakesTheFirstUnlockedLspFile) {
  App app;
  app.write("a.txt", "(defun a ())\n");
  fs::create_directory(app.file("b.LSP"));  // cannot be opened exclusively: counts as locked
  app.write("c.lsp", "(defun c ())\n");
  app.write("d.lsp", "(defun d ())\n");
  app.form.FormCreate();
  app.view.jumpBox.entries = {{u"stale", 1}};
  app.form.dropFiles({app.path("a.txt"), app.path("b.LSP"), app.path("c.lsp"), app.path("d.lsp")});
  EXPECT_EQ(app.form.lspFullName(), app.path("c.lsp"));
  EXPECT_EQ(app.view.openDialogName, app.path("c.lsp"));
  EXPECT_TRUE(app.view.jumpBox.entries.empty());
  EXPECT_EQ(app.form.fileHistSL(), (TextList{app.path("c.lsp")}));

  // Nothing taken, an empty drop included: nothing changes.
  app.form.dropFiles({app.path("a.txt"), app.path("b.LSP")});
  app.form.dropFiles({});
  EXPECT_EQ(app.form.lspFullName(), app.path("c.lsp"));
}

TEST(MainFormLoad, OpenDoesNotTouchTheHistoryAndUnreadableFilesKeepTheOldState) {
  App app;
  app.write("demo.lsp", kDemo);
  app.form.FormCreate();
  app.view.openAnswer = app.path("demo.lsp");
  app.form.Button1Click();
  EXPECT_EQ(app.view.edit1, u"demo.lsp");
  EXPECT_FALSE(fs::exists(app.file("QuenlitHist.txt")));
  const TextList pane = app.paneLines();

  // A file that cannot be read: the error box names it; the previous file stays
  // current, with its lines, outline, pane and Edit1. A cancelled dialog does nothing.
  app.view.openAnswer = app.path("missing.lsp");
  app.form.Button1Click();
  app.view.openAnswer.reset();
  app.form.Button1Click();
  ASSERT_EQ(app.view.errors, (TextList{app.path("missing.lsp")}));
  EXPECT_FALSE(app.view.errorReasons[0].empty());
  EXPECT_EQ(app.form.lspFullName(), app.path("demo.lsp"));
  EXPECT_EQ(app.view.edit1, u"demo.lsp");
  EXPECT_EQ(app.view.label1, u"ANSI");
  EXPECT_EQ(app.paneLines(), pane);
  EXPECT_EQ(app.view.treeImpl.rows.size(), 5u);
}

TEST(MainFormLoad, ReloadKeepsSelectionAndRefreshesTheJumpList) {
  App app;
  app.start();
  app.view.treeImpl.selected = 2;  // inner under c:box
  app.write("demo.lsp", std::string("\n\n") + kDemo);
  app.form.reLoad();
  EXPECT_EQ(app.view.treeImpl.selected, 2u);
  EXPECT_TRUE(app.view.treeImpl.focused);
  EXPECT_EQ(app.view.treeImpl.rows[2].line, 6);
  const int builds = app.view.treeImpl.builds;

  // A check on the unchanged file refills the pane and leaves the tree alone.
  app.view.paneImpl.mem.clear();
  app.view.busyLog.clear();
  app.form.Button4Click();
  EXPECT_EQ(app.view.busyLog, (std::vector<bool>{true, false}));  // the wait cursor once, however deep
  EXPECT_EQ(app.view.treeImpl.builds, builds);
  EXPECT_EQ(app.view.treeImpl.selected, 2u);
  EXPECT_EQ(app.paneLines(), demoReport(4));

  // A file without any defun: empty outline, nothing selected, the pane shows the
  // words outside every function.
  app.write("demo.lsp", "(setq a 1)\n");
  app.form.reLoad();
  EXPECT_TRUE(app.view.treeImpl.rows.empty());
  EXPECT_EQ(app.paneLines(), (TextList{u"    1|[グローバル(全関数の後方)]", u"     a "}));

  // A missing file: nothing changes, not even the history.
  fs::remove(app.file("QuenlitHist.txt"));
  fs::remove(app.file("demo.lsp"));
  app.form.reLoad();
  EXPECT_FALSE(fs::exists(app.file("QuenlitHist.txt")));
}

TEST(MainFormLoad, ReloadOfALockedFileWaitsThenKeepsTheContent) {
  App app;
  app.start("x.lsp");
  const auto before = app.form.lspSL().lines;
  app.write("x.lsp", "(defun changed ())\n");
  fs::remove(app.file("QuenlitHist.txt"));
  {
    FileHold hold(app.file("x.lsp"));
    if (!hold.held()) GTEST_SKIP() << "this user can open a read-only file for writing";
    app.form.reLoad();
  }
  EXPECT_EQ(std::count(app.desktop.log.begin(), app.desktop.log.end(), "sleep 50"), 4);
  EXPECT_EQ(app.form.lspSL().lines, before);
  EXPECT_TRUE(app.view.errors.empty());
  EXPECT_TRUE(fs::exists(app.file("QuenlitHist.txt")));  // the history is still updated
}

// Loading, the missing-file message and "削除" are driven end to end
// (Load.HistoryDialogLoadsRemovesAndReportsMissingFiles); here the answers that
// must remove nothing.
TEST(MainFormHistory, DialogRemovesOnlyTheSelectedEntry) {
  App app;
  app.write("QuenlitHist.txt", "C:\\a.lsp\r\nC:\\b.lsp\r\n");
  app.form.FormCreate();
  app.view.historyAnswer = {kMrYes, std::nullopt};  // buttons still enabled from an earlier showing
  app.form.Button10Click();
  EXPECT_EQ(app.view.historyShown, (TextList{u"C:\\a.lsp", u"C:\\b.lsp"}));
  app.view.historyAnswer = {kMrCancel, 0};
  app.form.Button10Click();
  EXPECT_EQ(app.read("QuenlitHist.txt"), "C:\\a.lsp\r\nC:\\b.lsp\r\n");
  app.view.historyAnswer = {kMrYes, 1};
  app.form.Button10Click();
  EXPECT_EQ(app.read("QuenlitHist.txt"), "C:\\a.lsp\r\n");
  EXPECT_EQ(app.form.lspFullName(), u"");
}

// The reports' texts are compared with the command line end to end; here: each
// button reloads first and leaves the pane's update brackets closed.
TEST(MainFormChecks, ButtonsReloadFirstAndCloseThePaneUpdate) {
  App app;
  app.start();
  app.write("demo.lsp", std::string(kDemo) + "(defun extra (q) q)\n");
  const int scrolls = app.view.scrolls;
  app.form.Button4Click();
  EXPECT_EQ(app.paneLines(), demoReport());
  EXPECT_EQ(app.view.treeImpl.rows.back().text, u"extra (q)");
  EXPECT_EQ(app.view.scrolls, scrolls + 1);
  for (void (TForm25::*button)() : {&TForm25::Button2Click, &TForm25::Button5Click, &TForm25::Button7Click}) {
    app.view.paneImpl.clear();
    (app.form.*button)();
    EXPECT_FALSE(app.paneLines().empty());
    EXPECT_EQ(app.view.paneImpl.depth, 0);
  }
  EXPECT_TRUE(app.view.messages.empty());
}

TEST(MainFormChecks, UnbalancedFileShowsThePlainMessageWithoutAnEditor) {
  App app;
  app.start("bad.lsp", "(defun f ()\n  (princ)\n");
  app.form.Button2Click();
  ASSERT_EQ(app.view.messages.size(), 1u);
  EXPECT_NE(app.view.messages[0].find(u"これより下の行で括弧数が一致していません，"), Text::npos);
  EXPECT_TRUE(app.view.questions.empty());

  // With the editor running the question offers the jump; No leaves the editor alone.
  const WindowId code = app.openInVSCode("bad.lsp");
  app.view.answers = {false, true};
  app.form.Button2Click();
  EXPECT_EQ(app.form.editor().editorMainWnd(), code);
  app.form.Button2Click();
  ASSERT_EQ(app.view.questions.size(), 2u);
  EXPECT_EQ(app.view.questions[1].title, u"確認");
  EXPECT_EQ(app.desktop.jumps(), (std::vector<std::string>{"Ctrl+G 1"}));

  // The editor closed since: the plain message again.
  app.desktop.window(code).live = false;
  app.form.Button2Click();
  EXPECT_EQ(app.view.messages.size(), 2u);
}

TEST(MainFormChecks, SearchAndDeletion) {
  App app;
  app.start("s.lsp", "(setq a 1)\n(princ)\n(setq b 2)\n");

  // A pane holding the variable report is refused.
  app.view.edit2 = u"setq";
  app.form.Button12Click();
  EXPECT_EQ(app.view.messages, (TextList{u"全行で行番号が取得できまません."}));

  EXPECT_TRUE(app.form.Edit2KeyPress(u'\r'));
  EXPECT_FALSE(app.form.Edit2KeyPress(u'a'));
  EXPECT_EQ(app.paneLines(), (TextList{u"    1| (setq a 1)", u"    3| (setq b 2)"}));

  app.view.answers = {false};
  app.form.Button12Click();
  ASSERT_EQ(app.view.questions.size(), 1u);
  EXPECT_EQ(app.view.questions[0].title, u"検索行削除");
  EXPECT_TRUE(app.view.questions[0].ownedByPane);
  EXPECT_EQ(app.read("s.lsp"), "(setq a 1)\n(princ)\n(setq b 2)\n");

  // Saved in the editor behind the window's back: nothing is written, the pane stays.
  app.write("s.lsp", "(setq a 1)\n(princ)\n(setq b 2)\n(setq c 3)\n");
  app.view.answers = {true};
  app.form.Button12Click();
  EXPECT_EQ(app.view.messages.back(), u"ファイルが読み込み後に変更されています．再読み込みしてから実行して下さい．");
  EXPECT_EQ(app.read("s.lsp"), "(setq a 1)\n(princ)\n(setq b 2)\n(setq c 3)\n");
  EXPECT_FALSE(fs::exists(app.file("s.bak")));
  EXPECT_EQ(app.paneLines(), (TextList{u"    1| (setq a 1)", u"    3| (setq b 2)"}));

  // After a reload, and a failed open of another file, the deletion acts on this file.
  app.form.Button4Click();
  app.form.Edit2KeyPress(u'\r');
  app.view.openAnswer = app.path("missing.lsp");
  app.form.Button1Click();
  app.view.answers = {true};
  app.form.Button12Click();
  EXPECT_EQ(app.read("s.lsp"), "\xEF\xBB\xBF(princ)\n");
  EXPECT_EQ(app.read("s.bak"), "(setq a 1)\n(princ)\n(setq b 2)\n(setq c 3)\n");
  EXPECT_FALSE(fs::exists(app.file("missing.lsp")));
  EXPECT_TRUE(app.paneLines().empty());
}

TEST(MainFormOutline, ClickDescribesAndJumpsFollowTheJumpBox) {
  App app;
  app.start();
  app.view.treeImpl.selected = 1;  // c:box
  app.form.TreeView1Click();
  EXPECT_EQ(app.paneLines(), (TextList{u";;; draws a box", u"(defun c:box (/ ...)"}));
  app.view.treeImpl.selected = 0;  // a root empties the pane
  app.form.TreeView1Click();
  EXPECT_TRUE(app.paneLines().empty());

  app.form.TreeView1DblClick();  // a root: no jump
  app.view.treeImpl.selected = 4;  // area, line 6
  app.form.TreeView1DblClick();
  EXPECT_TRUE(app.form.TreeView1KeyPress(u'\r'));
  EXPECT_FALSE(app.form.TreeView1KeyPress(u'x'));  // other keys are left to the tree
  app.form.CTRLG2Click();  // the key choice toggles: Alt+G
  EXPECT_FALSE(app.view.ctrlG);
  app.form.TreeView1DblClick();
  EXPECT_TRUE(app.desktop.jumps().empty());  // no editor yet
  app.openInVSCode("demo.lsp");
  app.form.TreeView1DblClick();
  app.form.ALTG1Click();  // the same toggle: Ctrl+G again
  EXPECT_TRUE(app.form.TreeView1KeyPress(u'\r'));
  EXPECT_EQ(app.desktop.jumps(), (std::vector<std::string>{"Alt+G 6", "Ctrl+G 6"}));

  app.view.jump = false;
  app.form.TreeView1DblClick();
  EXPECT_FALSE(app.form.TreeView1KeyPress(u'\r'));  // passed on to the tree
  EXPECT_EQ(app.desktop.jumps().size(), 2u);
}

// Ctrl+S in the editor showing the file: on the next tick the outline and the
// pane follow what the editor saved; F1 in our window opens the reference.
TEST(MainFormSaveWatch, CtrlSInTheEditorReloadsAndF1OpensTheReference) {
  App app;
  app.start();
  app.view.ownWindow = app.desktop.add({u"TForm25", u"Quenlit"});
  const WindowId code = app.openInVSCode("demo.lsp");
  app.view.reload = true;
  app.bridges.log.clear();
  app.view.paneImpl.clear();
  app.form.CheckBox2Click();  // Reload switched on: the hook, a reload, and the editor's window looked up
  EXPECT_EQ(app.bridges.log, (std::vector<std::string>{"installHook"}));
  EXPECT_FALSE(app.paneLines().empty());
  ASSERT_EQ(app.form.editor().editorMainWnd(), code);

  app.write("demo.lsp", std::string(kDemo) + "(defun added (q) q)\n");
  app.desktop.setForeground(code);
  app.form.hookKey(kWmKeyDown, 'S', true);
  EXPECT_TRUE(app.view.timer.enabled);
  app.form.Timer1Timer();
  EXPECT_FALSE(app.view.timer.enabled);
  EXPECT_EQ(rowTexts(app.view.treeImpl.rows).back(), u"area (w h)");
  EXPECT_EQ(rowTexts(app.view.treeImpl.rows)[4], u"added (q)");
  EXPECT_EQ(app.paneLines(), demoReport());

  app.desktop.setForeground(app.view.ownWindow);
  app.form.hookKey(kWmKeyDown, kVkF1, false);
  app.form.Timer1Timer();
  EXPECT_EQ(app.view.addresses, TextList{Text(kHelpPageAddress)});

  // Saved away from under the watch: deleted (free, but nothing to read: the
  // outline stays), or a folder in its place (never free: the watch gives up).
  const size_t rows = app.view.treeImpl.rows.size();
  std::filesystem::remove(app.file("demo.lsp"));
  app.desktop.setForeground(code);
  app.form.hookKey(kWmKeyDown, 'S', true);
  app.form.Timer1Timer();
  EXPECT_FALSE(app.view.timer.enabled);
  EXPECT_EQ(app.view.treeImpl.rows.size(), rows);
  std::filesystem::create_directory(app.file("demo.lsp"));
  app.form.hookKey(kWmKeyDown, 'S', true);
  for (int tick = 0; tick < 10 && app.view.timer.enabled; ++tick) app.form.Timer1Timer();
  EXPECT_EQ(app.paneLines().back(), u"ファイル読み込み失敗");
  EXPECT_EQ(app.view.treeImpl.rows.size(), rows);

  app.view.reload = false;
  app.form.CheckBox2Click();
  EXPECT_FALSE(app.bridges.hook);
}
