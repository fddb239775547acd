// Every jump, driven from outside against stand-in editors: the outline, the jump
// list, the result pane, the parenthesis check and the "E" button; and the
// outline's copies through the clipboard, compared with the command line tool.
#include <gtest/gtest.h>

#include <cstdio>

#include "Driver.h"
#include "win32/base/Ids.h"

using namespace quenlit::e2e;
namespace win = quenlit::win;

namespace {

using Log = std::vector<std::string>;

// The editor selection's items, in index order, as the stand-in knows them.
const wchar_t* const kKinds[] = {L"vscode", L"notepad", L"notepadpp", L"mery", L"terapad"};

// samples/demo.lsp: rows 1 c:box (8), 2 width (11), 3 c:lines (33), 5 area (w h)
// (19), 6 count-lines (ss) (24).
struct Session {
  Scratch s;
  fs::path file;
  App app{s};
  std::vector<TreeRow> rows;

  explicit Session(const std::string& name = "demo.lsp", const std::string& bytes = {}) {
    file = s.file(name);
    if (bytes.empty())
      fs::copy_file(projectRoot() / "samples" / "demo.lsp", file);
    else
      s.write(name, bytes);
    if (!app.started()) return;
    app.drop({file});
    waitFor([&] { return app.text(win::kIdEdit1) == file.filename().wstring(); });
    rows = app.tree();
  }
  // The program in front, as when the user works in it.
  void toFront() const {
    SetForegroundWindow(app.main());
    waitFor([&] { return GetForegroundWindow() == app.main(); }, 2s);
  }
};

// Runs `act` and waits for the stand-in to log one more line: the milliseconds
// from the action to the line, or -1 when none came.
long long timedJump(const StandIn& editor, const std::function<void()>& act, std::chrono::milliseconds timeout = 5s) {
  const size_t before = editor.log().size();
  const auto start = std::chrono::steady_clock::now();
  act();
  // Polled often: the figure is printed as the jump's time.
  while (editor.log().size() <= before) {
    if (std::chrono::steady_clock::now() - start > timeout) return -1;
    Sleep(5);
  }
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
}

void clearClipboard() {
  if (OpenClipboard(nullptr)) {
    EmptyClipboard();
    CloseClipboard();
  }
}

}  // namespace

TEST(Jump, OutlineRowsJumpInEveryEditorMinimizedOrNot) {
  Session ses;
  ASSERT_EQ(ses.rows.size(), 7u);
  App& app = ses.app;
  for (int editor = 0; editor < 5; ++editor) {
    StandIn ed(kKinds[editor], ses.file);
    ASSERT_TRUE(ed.main()) << editor;
    app.selectEditor(editor);
    ses.toFront();
    const long long shown = timedJump(ed, [&] { app.doubleClickTreeRow(ses.rows[5].item); });
    app.selectTreeRow(ses.rows[3].item);
    timedJump(ed, [&] { app.pressEnter(win::kIdTreeView1); });
    ShowWindow(ed.main(), SW_MINIMIZE);
    ASSERT_TRUE(waitFor([&] { return IsIconic(ed.main()) != FALSE; }, 3s));
    const long long restored = timedJump(ed, [&] { app.doubleClickTreeRow(ses.rows[2].item); });
    EXPECT_EQ(ed.log(), (Log{"19", "33", "11"})) << toUtf8(kKinds[editor]);
    EXPECT_FALSE(IsIconic(ed.main()));
    std::printf("jump time, %ls: %lld ms in front of the program (waits 300 ms), %lld ms minimized (waits 500 ms)\n",
                kKinds[editor], shown, restored);
  }
  // "Jump" off: the outline leaves the editor alone.
  StandIn ed(L"mery", ses.file);
  app.selectEditor(3);
  app.click(win::kIdCheckBox1);
  ASSERT_FALSE(app.checked(win::kIdCheckBox1));
  app.doubleClickTreeRow(ses.rows[5].item);
  app.pressEnter(win::kIdTreeView1);
  Sleep(800);
  EXPECT_TRUE(ed.log().empty());
}

TEST(Jump, EditorsShowingSomethingElseGetNoKeys) {
  Session ses;
  App& app = ses.app;
  // Any key typed into the wrong window lands here: it is in front before each jump.
  StandIn witness(L"witness", ses.file);
  ASSERT_TRUE(witness.main());
  struct Case {
    int editor;
    std::vector<std::wstring> options;
  };
  const std::wstring longTitle =
      L"C:\\" + std::wstring(250, L'a') + L"\\" + ses.file.filename().wstring() + L" - Mery";
  const Case cases[] = {
      {0, {L"--show", L"other.lsp"}}, {1, {L"--show", L"other.lsp"}}, {2, {L"--show", L"other.lsp"}},
      {3, {L"--show", L"other.lsp"}}, {4, {L"--show", L"other.lsp"}}, {3, {L"--title", longTitle}},
      {1, {L"--title", L"demo.lsp"}},  // no " - "
      {1, {L"--close-on-activate"}},   // gone between the search and the keys
  };
  for (const Case& c : cases) {
    StandIn ed(kKinds[c.editor], ses.file, c.options);
    ASSERT_TRUE(ed.main());
    app.selectEditor(c.editor);
    SetForegroundWindow(witness.main());
    app.doubleClickTreeRow(ses.rows[5].item);
    Sleep(500);  // longer than the jump's own waits
    EXPECT_TRUE(ed.log().empty()) << toUtf8(kKinds[c.editor]) << " " << toUtf8(c.options[0]);
    EXPECT_TRUE(witness.log().empty()) << toUtf8(kKinds[c.editor]) << " " << toUtf8(c.options[0]);
  }

  // A dialog that opens after the wait gets no line and stays open for the user.
  StandIn slow(L"mery", ses.file, {L"--slow", L"600"});
  app.selectEditor(3);
  app.doubleClickTreeRow(ses.rows[5].item);
  EXPECT_TRUE(waitFor([&] { return slow.findWindow(L"TGoToLineForm") != nullptr; }, 3s));
  Sleep(300);
  EXPECT_TRUE(slow.log().empty());
  EXPECT_TRUE(slow.findWindow(L"TGoToLineForm"));
  EXPECT_TRUE(witness.log().empty());
  EXPECT_TRUE(app.close());
  EXPECT_EQ(app.exitCode(), 0u);
}

// Windows names a copy "name - コピー.LSP", and a folder may hold " - " as well:
// every editor's title still names the loaded file and the jump goes through.
TEST(Jump, NamesAndFoldersHoldingADashJumpInEveryEditor) {
  Scratch s;
  const fs::path folder = s.dir / L"作業 - コピー", file = folder / L"WKP_KCCHECK - コピー.LSP";
  fs::create_directories(folder);
  fs::copy_file(projectRoot() / "samples" / "demo.lsp", file);
  App app{s};
  ASSERT_TRUE(app.started());
  app.drop({file});
  ASSERT_TRUE(waitFor([&] { return app.text(win::kIdEdit1) == file.filename().wstring(); }));
  const auto rows = app.tree();
  ASSERT_EQ(rows.size(), 7u);
  for (int editor = 0; editor < 5; ++editor) {
    StandIn ed(kKinds[editor], file);
    ASSERT_TRUE(ed.main()) << editor;
    app.selectEditor(editor);
    timedJump(ed, [&] { app.doubleClickTreeRow(rows[5].item); });
    EXPECT_EQ(ed.log(), (Log{"19"})) << toUtf8(kKinds[editor]) << ": " << toUtf8(windowText(ed.main()));
  }
}

TEST(Jump, VSCodeWithCtrlGAndWithAltG) {
  Session ses;
  App& app = ses.app;
  app.selectEditor(0);
  {
    StandIn ed(L"vscode", ses.file);
    timedJump(ed, [&] { app.doubleClickTreeRow(ses.rows[5].item); });
    EXPECT_EQ(ed.log(), (Log{"19"}));
  }
  app.command(win::kIdALTG2);  // the outline menu's "ALT+G"
  {
    StandIn ed(L"vscode", ses.file, {L"--key", L"alt"});
    timedJump(ed, [&] { app.doubleClickTreeRow(ses.rows[6].item); });
    EXPECT_EQ(ed.log(), (Log{"24"}));
  }
  ASSERT_TRUE(app.close());
  EXPECT_NE(ses.s.read("QuenlitX.ini").find("CTRLG2Cheak=0"), std::string::npos);
}

TEST(Jump, JumpListAddDragEnterAndReload) {
  Session ses;
  App& app = ses.app;
  StandIn ed(L"notepadpp", ses.file);
  app.selectEditor(2);
  // The command is posted, the selection sent: each add is waited for.
  size_t count = 0;
  for (size_t row : {1, 5, 6, 5}) {  // the second area is there already
    app.selectTreeRow(ses.rows[row].item);
    app.command(win::kIdN6);
    count = std::min<size_t>(count + 1, 3);
    ASSERT_TRUE(waitFor([&] { return app.jumpList().size() == count; }, 5s));
  }
  Sleep(200);
  using Texts = std::vector<std::wstring>;
  ASSERT_TRUE(waitFor([&] { return app.jumpList() == Texts{L"c:box", L"area (w h)", L"count-lines (ss)"}; }, 5s));

  // The third dragged onto the first; Enter jumps to it, "Jump" ticked or not.
  app.dragJumpEntry(2, 0);
  ASSERT_TRUE(waitFor([&] { return app.jumpList() == Texts{L"count-lines (ss)", L"c:box", L"area (w h)"}; }, 5s));
  EXPECT_EQ(app.jumpListSelection(), 0u);
  app.click(win::kIdCheckBox1);
  timedJump(ed, [&] { app.pressEnter(win::kIdListBox1); });
  EXPECT_EQ(ed.log(), (Log{"24"}));

  // Dropped below the last entry: moved to the end.
  app.dragJumpEntry(0, -1);
  ASSERT_TRUE(waitFor([&] { return app.jumpList() == Texts{L"c:box", L"area (w h)", L"count-lines (ss)"}; }, 5s));
  EXPECT_EQ(app.jumpListSelection(), 2u);

  // The functions move down three lines; the next reload takes the entries along.
  ses.s.write("demo.lsp", ";; 1\r\n;; 2\r\n;; 3\r\n" + ses.s.read("demo.lsp"));
  app.click(win::kIdButton4);
  timedJump(ed, [&] { app.pressEnter(win::kIdListBox1); });
  timedJump(ed, [&] { app.doubleClickJumpEntry(0); });
  EXPECT_EQ(ed.log(), (Log{"24", "27", "11"}));

  app.command(win::kIdN13);
  EXPECT_TRUE(waitFor([&] { return app.jumpList().empty(); }, 5s));
}

TEST(Jump, ResultPaneNumbersAndNamesJump) {
  Session ses;
  App& app = ses.app;
  StandIn ed(L"mery", ses.file);
  app.selectEditor(3);
  app.setText(win::kIdEdit2, L"area");
  app.click(win::kIdButton11);
  const auto lines = app.pane();
  ASSERT_EQ(lines, runCli({L"search", L"area", ses.file.wstring()}).lines);
  ASSERT_EQ(lines.size(), 2u);
  ASSERT_EQ(lines[1].substr(0, 6), L"   19|");

  // The number of a search result, double-clicked.
  timedJump(ed, [&] { app.doubleClickPane(0, 4); });
  // "選択した関数行へジャンプ" on a selected name.
  const size_t at = lines[0].find(L"area");
  SendMessageW(app.control(App::kPaneId), EM_SETSEL, WPARAM(at), LPARAM(at + 4));
  timedJump(ed, [&] { app.command(win::kIdN16); });
  // A line beyond the end of the file, typed into the pane, is passed on as it is.
  SendMessageW(app.control(App::kPaneId), EM_SETSEL, 0, -1);
  app.type(App::kPaneId, L"see 99999 here");
  ASSERT_TRUE(waitFor([&] { return app.text(App::kPaneId) == L"see 99999 here"; }, 5s));
  timedJump(ed, [&] { app.doubleClickPane(0, 6); });
  EXPECT_EQ(ed.log(), (Log{"15", "19", "99999"}));
}

TEST(Jump, ParenthesisCheckOffersTheJump) {
  Session ses("bad.lsp", "(defun f ()\r\n  (princ)\r\n(defun g () 1)\r\n");
  App& app = ses.app;
  StandIn ed(L"notepad", ses.file);
  app.selectEditor(1);
  app.clickAsync(win::kIdButton2);
  HWND ask = app.waitDialog(L"確認");
  ASSERT_TRUE(ask);
  EXPECT_NE(App::messageText(ask).find(L"(defun g ) へジャンプしますか？"), std::wstring::npos);
  timedJump(ed, [&] { App::press(ask, IDYES); });
  EXPECT_EQ(ed.log(), (Log{"3"}));
}

TEST(Jump, EButtonBringsTheEditorForward) {
  Session ses;
  App& app = ses.app;
  StandIn ed(L"terapad", ses.file, {L"--minimized"});
  app.selectEditor(4);
  ASSERT_TRUE(IsIconic(ed.main()));
  ses.toFront();
  app.click(win::kIdButton9);
  EXPECT_TRUE(waitFor([&] { return !IsIconic(ed.main()) && GetForegroundWindow() == ed.main(); }, 3s));
  ses.toFront();
  app.click(win::kIdButton9);
  EXPECT_TRUE(waitFor([&] { return GetForegroundWindow() == ed.main(); }, 3s));
}

TEST(Copy, NameAndRangeMatchTheCommandLine) {
  Session ses;
  App& app = ses.app;
  const std::wstring path = ses.file.wstring();
  struct Case {
    size_t row;
    std::wstring line;
  };
  for (const Case& c : {Case{5, L"19"}, Case{1, L"8"}, Case{2, L"11"}}) {
    clearClipboard();
    app.selectTreeRow(ses.rows[c.row].item);
    app.command(win::kIdN1);
    const auto name = runCli({L"copy", L"--name", path, c.line}).lines;
    ASSERT_EQ(name.size(), 1u);
    EXPECT_TRUE(waitFor([&] { return clipboardText() == name[0]; }, 5s)) << toUtf8(clipboardText());

    clearClipboard();
    app.command(win::kIdN14);
    HWND box = app.waitDialog(L"QuenlitX");
    ASSERT_TRUE(box);
    EXPECT_EQ(App::messageText(box), L"クリップボードにコピーしました．");
    App::press(box, IDOK);
    const std::wstring copied = clipboardText();
    EXPECT_EQ(splitLines(copied), runCli({L"copy", path, c.line}).lines);
    EXPECT_EQ(copied.substr(copied.size() - 2), L"\r\n");
  }
}
