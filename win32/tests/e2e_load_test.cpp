// Dropping files, the outline, and the file history dialog, driven from outside.
#include <gtest/gtest.h>

#include <windows.h>
#include <dlgs.h>

#include "Driver.h"
#include "win32/base/Ids.h"

using namespace quenlit::e2e;
namespace win = quenlit::win;

namespace {

void copySample(const Scratch& s, const std::string& name) {
  std::filesystem::copy_file(projectRoot() / "samples" / "demo.lsp", s.file(name),
                             std::filesystem::copy_options::overwrite_existing);
}

}  // namespace

TEST(Load, DropTakesTheFirstUnlockedLspFileAndShowsOutlineAndReport) {
  Scratch s;
  copySample(s, "b.LSP");
  copySample(s, "demo.lsp");
  s.write("a.txt", "(defun not-this ())\r\n");
  const std::wstring path = s.file("demo.lsp").wstring();
  App app(s);
  ASSERT_TRUE(app.started());
  {
    FileHold held(s.file("b.LSP"));
    app.drop({s.file("a.txt"), s.file("b.LSP"), s.file("demo.lsp")});
    ASSERT_TRUE(waitFor([&] { return app.text(win::kIdEdit1) == L"demo.lsp"; }));
  }
  EXPECT_EQ(app.text(win::kIdLabel1), L"UTF8");
  const auto rows = app.tree();
  EXPECT_EQ(shown(rows), cliOutline(path));
  // Icons: roots 0, definitions 1, nested definitions 3.
  for (const auto& r : rows) EXPECT_EQ(r.image, r.level == 0 ? 0 : (r.level == 1 ? 1 : 3)) << r.text;
  // Fully expanded, shown from its first row.
  ASSERT_FALSE(rows.empty());
  EXPECT_EQ(TreeView_GetFirstVisible(app.control(win::kIdTreeView1)), rows[0].item);
  EXPECT_EQ(TreeView_GetNextVisible(app.control(win::kIdTreeView1), rows[1].item), rows[2].item);
  EXPECT_EQ(app.pane(), runCli({L"vars", path}).lines);
  EXPECT_EQ(s.read("QuenlitHist.txt"), toUtf8(path) + "\r\n");

  // A Shift-JIS file reads as ANSI; a dropped file without ".lsp" changes nothing.
  s.write("sjis.lsp", ";; \x93\xfa\x96{\r\n(defun c:jp (/ a) (setq a 1))\r\n");
  app.drop({s.file("sjis.lsp")});
  ASSERT_TRUE(waitFor([&] { return app.text(win::kIdEdit1) == L"sjis.lsp"; }));
  EXPECT_EQ(app.text(win::kIdLabel1), L"ANSI");
  EXPECT_EQ(shown(app.tree()), cliOutline(s.file("sjis.lsp").wstring()));
  app.drop({s.file("a.txt")});
  Sleep(500);
  EXPECT_EQ(app.text(win::kIdEdit1), L"sjis.lsp");
  EXPECT_EQ(s.read("QuenlitHist.txt"), toUtf8(s.file("sjis.lsp").wstring()) + "\r\n" + toUtf8(path) + "\r\n");
}

TEST(Load, ClickingARowDescribesItAndReloadKeepsTheSelection) {
  Scratch s;
  copySample(s, "demo.lsp");
  const std::wstring path = s.file("demo.lsp").wstring();
  App app(s);
  ASSERT_TRUE(app.started());
  app.drop({s.file("demo.lsp")});
  ASSERT_TRUE(waitFor([&] { return app.tree().size() == 7; }));
  auto rows = app.tree();
  ASSERT_EQ(rows[5].text, L"area (w h)");
  app.clickTreeRow(rows[5].item);
  const auto expected = runCli({L"describe", path, L"19"}).lines;
  ASSERT_FALSE(expected.empty());
  EXPECT_TRUE(waitFor([&] { return app.pane() == expected; })) << toUtf8(app.text(win::kIdMemo2));
  EXPECT_EQ(app.selectedTreeRow(), 5u);

  // Arrow keys move through the rows; the key-up describes the new row.
  app.selectTreeRow(rows[1].item);
  PostMessageW(app.control(win::kIdTreeView1), WM_KEYUP, VK_DOWN, 0xC0000001);
  const auto box = runCli({L"describe", path, L"8"}).lines;
  EXPECT_TRUE(waitFor([&] { return app.pane() == box; }));

  // "変数✔" reloads: the file gained two lines on top, the selection stays on c:box.
  s.write("demo.lsp", "\r\n\r\n" + s.read("demo.lsp"));
  app.click(win::kIdButton4);
  EXPECT_EQ(app.selectedTreeRow(), 1u);
  EXPECT_EQ(app.pane(), runCli({L"vars", path}).lines);
}

TEST(Load, HistoryDialogLoadsRemovesAndReportsMissingFiles) {
  Scratch s;
  copySample(s, "demo.lsp");
  copySample(s, "held.lsp");
  const std::wstring demo = s.file("demo.lsp").wstring(), gone = s.file("gone.lsp").wstring(),
                     held = s.file("held.lsp").wstring();
  s.write("QuenlitHist.txt", toUtf8(gone) + "\r\n" + toUtf8(demo) + "\r\n" + toUtf8(held) + "\r\n");
  App app(s);
  ASSERT_TRUE(app.started());

  auto open = [&] {
    app.clickAsync(win::kIdButton10);
    HWND dlg = app.waitDialog(win::kHistoryTitle);
    return dlg;
  };
  auto select = [&](HWND dlg, int index) {
    HWND list = GetDlgItem(dlg, win::kIdHistList);
    SendMessageW(list, LB_SETCURSEL, WPARAM(index), 0);
    SendMessageW(dlg, WM_COMMAND, MAKEWPARAM(win::kIdHistList, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
  };
  auto enabled = [](HWND dlg, int id) { return IsWindowEnabled(GetDlgItem(dlg, id)) != FALSE; };

  HWND dlg = open();
  ASSERT_TRUE(dlg);
  HWND list = GetDlgItem(dlg, win::kIdHistList);
  ASSERT_EQ(SendMessageW(list, LB_GETCOUNT, 0, 0), 3);
  EXPECT_EQ(listBoxTexts(list).at(1), demo);
  EXPECT_FALSE(enabled(dlg, win::kIdHistLoad));
  EXPECT_FALSE(enabled(dlg, win::kIdHistDelete));
  EXPECT_TRUE(enabled(dlg, win::kIdHistCancel));
  // The dialog takes the always-on-top place of the main window while it shows.
  EXPECT_TRUE(app.topmost(dlg));
  EXPECT_FALSE(app.topmost(app.main()));
  select(dlg, 1);
  EXPECT_TRUE(enabled(dlg, win::kIdHistLoad));
  EXPECT_TRUE(enabled(dlg, win::kIdHistDelete));
  App::press(dlg, win::kIdHistLoad);
  ASSERT_TRUE(waitFor([&] { return app.text(win::kIdEdit1) == L"demo.lsp"; }));
  EXPECT_TRUE(waitFor([&] { return app.topmost(app.main()); }, 3s));
  EXPECT_EQ(app.tree().size(), 7u);
  EXPECT_EQ(app.pane(), runCli({L"vars", demo}).lines);
  EXPECT_EQ(s.read("QuenlitHist.txt"), toUtf8(gone) + "\r\n" + toUtf8(demo) + "\r\n" + toUtf8(held) + "\r\n");

  // A file that is gone: the message, and the entry stays.
  dlg = open();
  ASSERT_TRUE(dlg);
  EXPECT_TRUE(enabled(dlg, win::kIdHistLoad));  // kept from the last showing
  EXPECT_EQ(SendMessageW(GetDlgItem(dlg, win::kIdHistList), LB_GETCURSEL, 0, 0), LB_ERR);
  select(dlg, 0);
  App::press(dlg, win::kIdHistLoad);
  HWND box = app.waitDialog(L"QuenlitX");
  ASSERT_TRUE(box);
  EXPECT_EQ(App::messageText(box), L"ファイルが見つかりません.");
  App::press(box, IDOK);
  ASSERT_TRUE(waitFor([&] { return !app.findDialog(L"QuenlitX"); }));
  EXPECT_EQ(app.text(win::kIdEdit1), L"demo.lsp");

  // A file another program holds: the system's error box names it; nothing changes.
  {
    FileHold hold(s.file("held.lsp"));
    dlg = open();
    ASSERT_TRUE(dlg);
    select(dlg, 2);
    App::press(dlg, win::kIdHistLoad);
    box = app.waitDialog(L"QuenlitX");
    ASSERT_TRUE(box);
    EXPECT_NE(App::messageText(box).find(held), std::wstring::npos) << toUtf8(App::messageText(box));
    App::press(box, IDOK);
    ASSERT_TRUE(waitFor([&] { return !app.findDialog(L"QuenlitX"); }));
  }
  EXPECT_EQ(app.text(win::kIdEdit1), L"demo.lsp");
  EXPECT_EQ(app.pane(), runCli({L"vars", demo}).lines);

  // "削除" rewrites the history at once.
  dlg = open();
  ASSERT_TRUE(dlg);
  select(dlg, 0);
  App::press(dlg, win::kIdHistDelete);
  ASSERT_TRUE(waitFor([&] { return s.read("QuenlitHist.txt") == toUtf8(demo) + "\r\n" + toUtf8(held) + "\r\n"; }));

  // Closing by the frame changes nothing.
  dlg = open();
  ASSERT_TRUE(dlg);
  select(dlg, 0);
  PostMessageW(dlg, WM_CLOSE, 0, 0);
  ASSERT_TRUE(waitFor([&] { return !app.findDialog(win::kHistoryTitle); }));
  EXPECT_EQ(s.read("QuenlitHist.txt"), toUtf8(demo) + "\r\n" + toUtf8(held) + "\r\n");
}

TEST(Load, OpenDialogLoadsTheChosenFileWithoutTouchingTheHistory) {
  Scratch s;
  copySample(s, "demo.lsp");
  s.write("other.lsp", "(defun c:other () (princ))\r\n");
  const std::wstring path = s.file("other.lsp").wstring();
  App app(s);
  ASSERT_TRUE(app.started());
  app.drop({s.file("demo.lsp")});
  ASSERT_TRUE(waitFor([&] { return app.text(win::kIdEdit1) == L"demo.lsp"; }));
  const std::string history = s.read("QuenlitHist.txt");

  // The open dialog: a "*.lsp" filter, starting in the dropped file's folder.
  app.clickAsync(win::kIdButton1);
  HWND dlg = app.waitAnyDialog();
  ASSERT_TRUE(dlg);
  HWND filter = GetDlgItem(dlg, cmb1);
  wchar_t shownFilter[64] = L"";
  SendMessageW(filter, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(shownFilter));
  EXPECT_EQ(std::wstring(shownFilter), L"*.lsp");
  HWND name = GetDlgItem(dlg, cmb13) ? GetDlgItem(dlg, cmb13) : GetDlgItem(dlg, edt1);
  SendMessageW(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
  App::press(dlg, IDOK);
  ASSERT_TRUE(waitFor([&] { return app.text(win::kIdEdit1) == L"other.lsp"; }));
  EXPECT_EQ(app.tree().size(), 3u);
  EXPECT_EQ(app.pane(), runCli({L"vars", path}).lines);
  EXPECT_EQ(s.read("QuenlitHist.txt"), history);  // the history waits for the next reload or the exit

  // The next check reloads and puts the file on top of the history.
  app.click(win::kIdButton4);
  EXPECT_EQ(s.read("QuenlitHist.txt"), toUtf8(path) + "\r\n" + history);
}
