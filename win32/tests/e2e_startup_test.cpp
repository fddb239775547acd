// Start-up, settings and exit, driven from outside.
#include <gtest/gtest.h>

#include "Driver.h"
#include "win32/base/Ids.h"

using namespace quenlit::e2e;
namespace win = quenlit::win;

namespace {

// The settings file without the keys of the window's place, which depend on the screen.
std::string withoutPlacement(const std::string& ini) {
  std::string out;
  size_t at = 0;
  while (at < ini.size()) {
    size_t end = ini.find('\n', at);
    end = end == std::string::npos ? ini.size() : end + 1;
    const std::string line = ini.substr(at, end - at);
    if (line.rfind("Window", 0) != 0 && line.rfind("ControlPanelHeight=", 0) != 0 &&
        line.rfind("LowerPanelHeight=", 0) != 0)
      out += line;
    at = end;
  }
  return out;
}

RECT rectOf(HWND h) {
  RECT r{};
  GetWindowRect(h, &r);
  return r;
}

// Drags a splitter bar of the program by `dy` pixels, as the mouse would.
void dragSplitter(HWND bar, int dy) {
  PostMessageW(bar, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 2));
  PostMessageW(bar, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(5, 2 + dy));
  PostMessageW(bar, WM_LBUTTONUP, 0, MAKELPARAM(5, 2 + dy));
}

}  // namespace

TEST(Startup, FirstStartWithNoFilesShowsTheDefaults) {
  Scratch s(false);
  {
    App app(s);
    ASSERT_TRUE(app.started());
    EXPECT_EQ(app.caption(), L"Quenlit");
    EXPECT_EQ(app.text(win::kIdEdit1), L"");
    EXPECT_EQ(app.text(win::kIdLabel1), L"ANSI");
    EXPECT_TRUE(app.tree().empty());
    EXPECT_TRUE(app.pane().empty());
    EXPECT_EQ(app.text(win::kIdComboBox1), L"VS Code");
    EXPECT_TRUE(app.checked(win::kIdCheckBox1));
    EXPECT_FALSE(app.checked(win::kIdCheckBox2));
    EXPECT_FALSE(app.checked(win::kIdCheckBox3));

    // The controls and their captions.
    const std::pair<int, const wchar_t*> captions[] = {
        {win::kIdButton1, L"Open\n..."}, {win::kIdButton2, L"((✔))"},   {win::kIdButton3, L"CAD"},
        {win::kIdButton4, L"変数✔"},     {win::kIdButton5, L"関数カタログ"}, {win::kIdButton6, L"除外"},
        {win::kIdButton7, L"関数✔"},     {win::kIdButton8, L"C"},       {win::kIdButton9, L"E"},
        {win::kIdButton10, L"履歴"},     {win::kIdButton11, L"行検索"},  {win::kIdButton12, L"全検索行削除"},
        {win::kIdSpeedButton4, L"<"},   {win::kIdSpeedButton5, L">"},  {win::kIdCheckBox1, L"Jump"},
        {win::kIdCheckBox2, L"Reload"}, {win::kIdCheckBox3, L"登場順(スペース区切り)"}, {win::kIdLabel2, L"検索文字"}};
    for (auto [id, caption] : captions) EXPECT_EQ(app.text(id), caption) << id;
    EXPECT_EQ(SendMessageW(app.control(win::kIdComboBox1), CB_GETCOUNT, 0, 0), 5);
    {
      // Each editor, selected, shows whole in the box's designed width: with the
      // caret after its last letter, the first one is still in sight.
      HWND combo = app.control(win::kIdComboBox1), edit = FindWindowExW(combo, nullptr, L"Edit", nullptr);
      ASSERT_TRUE(edit);
      RECT r;
      GetWindowRect(combo, &r);
      EXPECT_EQ(r.right - r.left, MulDiv(79, int(GetDpiForWindow(app.main())), 96));
      for (int i = 4; i >= 0; --i) {
        app.selectEditor(i);
        SendMessageW(edit, EM_SETSEL, 0, -1);
        SendMessageW(edit, EM_SCROLLCARET, 0, 0);
        EXPECT_EQ(SendMessageW(edit, EM_GETFIRSTVISIBLELINE, 0, 0), 0) << toUtf8(app.text(win::kIdComboBox1));
      }
    }

    // Always on top, sizable, no maximize button; every control inside the client area.
    const LONG_PTR style = GetWindowLongPtrW(app.main(), GWL_STYLE);
    EXPECT_TRUE(app.topmost(app.main()));
    EXPECT_TRUE(style & WS_THICKFRAME);
    EXPECT_TRUE(style & WS_MINIMIZEBOX);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    RECT client;
    GetClientRect(app.main(), &client);
    const UINT dpi = GetDpiForWindow(app.main());
    EXPECT_EQ(client.bottom, MulDiv(455, int(dpi), 96));
    for (auto [id, caption] : captions) {
      RECT r;
      GetWindowRect(app.control(id), &r);
      MapWindowPoints(nullptr, app.main(), reinterpret_cast<POINT*>(&r), 2);
      EXPECT_LE(r.right, client.right) << id;
    }
    ASSERT_TRUE(app.close());
    EXPECT_EQ(app.exitCode(), 0u);
  }
  EXPECT_EQ(withoutPlacement(s.read("QuenlitX.ini")),
            "[Quenlit]\r\nTargetEditor=0\r\nJumpCheak=1\r\nReloadCheak=0\r\nLspFullName=\r\nCTRLG2Cheak=1\r\n"
            "[Target]\r\nProgID=BricscadApp.AcadApplication\r\n");
  ASSERT_TRUE(s.exists("QuenlitHist.txt"));
  EXPECT_EQ(s.read("QuenlitHist.txt"), "");
}

TEST(Startup, ClosingWritesTheSettingsAndARestartLoadsTheLastFile) {
  Scratch s;
  std::filesystem::copy_file(projectRoot() / "samples" / "demo.lsp", s.file("demo.lsp"),
                             std::filesystem::copy_options::overwrite_existing);
  const std::wstring path = s.file("demo.lsp").wstring();
  {
    App app(s);
    ASSERT_TRUE(app.started());
    app.drop({s.file("demo.lsp")});
    ASSERT_TRUE(waitFor([&] { return app.text(win::kIdEdit1) == L"demo.lsp"; }));
    app.selectEditor(3);
    app.click(win::kIdCheckBox1);  // Jump off
    app.click(win::kIdCheckBox2);  // Reload on
    EXPECT_TRUE(app.checked(win::kIdCheckBox2));
    ASSERT_TRUE(app.close());
  }
  EXPECT_EQ(withoutPlacement(s.read("QuenlitX.ini")), "[Quenlit]\r\nTargetEditor=3\r\nJumpCheak=0\r\nReloadCheak=1\r\nLspFullName=" +
                                        toUtf8(path) +
                                        "\r\nCTRLG2Cheak=1\r\n[Target]\r\nProgID=BricscadApp.AcadApplication\r\n");
  EXPECT_EQ(s.read("QuenlitHist.txt"), toUtf8(path) + "\r\n");

  // The target list names the CAD in the caption; the last file comes back.
  s.write("TargetCAD_APIVersion.txt", "Other CAD\tOther.App\r\nMy CAD\tBricscadApp.AcadApplication\r\n");
  App again(s);
  ASSERT_TRUE(again.started());
  EXPECT_EQ(again.caption(), L"QuenlitX [ My CAD ]");
  EXPECT_EQ(again.text(win::kIdEdit1), L"demo.lsp");
  EXPECT_EQ(again.text(win::kIdLabel1), L"UTF8");
  EXPECT_EQ(again.text(win::kIdComboBox1), L"Mery");
  EXPECT_FALSE(again.checked(win::kIdCheckBox1));
  EXPECT_TRUE(again.checked(win::kIdCheckBox2));
  EXPECT_EQ(again.tree().size(), 7u);
  EXPECT_EQ(again.pane(), runCli({L"vars", path}).lines);

  // Text typed into the editor selection that names no item: stored as -1, and
  // the next start selects nothing.
  HWND combo = again.control(win::kIdComboBox1);
  again.setText(win::kIdComboBox1, L"Emacs");
  SendMessageW(again.main(), WM_COMMAND, MAKEWPARAM(win::kIdComboBox1, CBN_EDITCHANGE), reinterpret_cast<LPARAM>(combo));
  ASSERT_TRUE(again.close());
  EXPECT_NE(s.read("QuenlitX.ini").find("TargetEditor=-1\r\n"), std::string::npos);
  App third(s);
  ASSERT_TRUE(third.started());
  EXPECT_EQ(SendMessageW(third.control(win::kIdComboBox1), CB_GETCURSEL, 0, 0), CB_ERR);
  EXPECT_EQ(third.text(win::kIdComboBox1), L"");
}

TEST(Startup, DamagedFilesGiveTheDefaults) {
  Scratch s;
  s.write("QuenlitX.ini", std::string("\xFF\xFE[\0Q\0\x01\x02\r\0=\0", 12) + std::string(3000, '\x7F'));
  s.write("QuenlitHist.txt", std::string("\x00\x01\x02\xFE\xFF garbage\r\n", 16));
  s.write("TargetCAD_APIVersion.txt", std::string("\xEF\xBB\xBF\xFF\xFE\t", 6));
  s.write("jogaiList.txt", std::string("\xFE\xFF\x00", 3));
  App app(s);
  ASSERT_TRUE(app.started());
  EXPECT_EQ(app.caption(), L"Quenlit");
  EXPECT_EQ(app.text(win::kIdComboBox1), L"VS Code");
  EXPECT_TRUE(app.checked(win::kIdCheckBox1));
  EXPECT_EQ(app.text(win::kIdEdit1), L"");
  ASSERT_TRUE(app.close());
  EXPECT_EQ(app.exitCode(), 0u);
}

TEST(Startup, WindowSizeAndSplittersSurviveARestartAndComeBackOnScreen) {
  Scratch s;
  RECT window{}, tree{}, pane{};
  {
    App app(s);
    ASSERT_TRUE(app.started());
    SetWindowPos(app.main(), nullptr, 40, 30, 400, 700, SWP_NOZORDER | SWP_NOACTIVATE);
    auto height = [&](int id) { return rectOf(app.control(id)).bottom - rectOf(app.control(id)).top; };
    const int paneBefore = height(win::kIdMemo2);
    dragSplitter(app.control(win::kIdSplitter2), 40);   // control panel taller
    dragSplitter(app.control(win::kIdSplitter1), -60);  // pane taller
    ASSERT_TRUE(waitFor([&] { return height(win::kIdMemo2) >= paneBefore + 60; }));
    window = rectOf(app.main());
    tree = rectOf(app.control(win::kIdTreeView1));
    pane = rectOf(app.control(win::kIdMemo2));
    // No smaller than what keeps the outline in view.
    SetWindowPos(app.main(), nullptr, 0, 0, 100, 150, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
    const RECT shrunk = rectOf(app.control(win::kIdTreeView1));
    EXPECT_GE(shrunk.bottom - shrunk.top, 50);
    EXPECT_GE(rectOf(app.main()).right - rectOf(app.main()).left, 258);
    SetWindowPos(app.main(), nullptr, window.left, window.top, window.right - window.left, window.bottom - window.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    ASSERT_TRUE(app.close());
  }
  const std::string ini = s.read("QuenlitX.ini");
  EXPECT_NE(ini.find("WindowWidth=400\r\n"), std::string::npos) << ini;
  EXPECT_NE(ini.find("WindowHeight=700\r\n"), std::string::npos) << ini;
  {
    App again(s);
    ASSERT_TRUE(again.started());
    const RECT w = rectOf(again.main());
    EXPECT_EQ(w.left, window.left);
    EXPECT_EQ(w.top, window.top);
    EXPECT_EQ(w.right - w.left, 400);
    EXPECT_EQ(w.bottom - w.top, 700);
    EXPECT_EQ(rectOf(again.control(win::kIdTreeView1)).top, tree.top);
    EXPECT_EQ(rectOf(again.control(win::kIdMemo2)).top, pane.top);
    ASSERT_TRUE(again.close());
  }

  // Left on a screen that is gone: back on this one, whole.
  std::string stale = s.read("QuenlitX.ini");
  const size_t at = stale.find("WindowLeft=");
  stale.replace(at, stale.find('\r', at) - at, "WindowLeft=6000");
  s.write("QuenlitX.ini", stale);
  App third(s);
  ASSERT_TRUE(third.started());
  const RECT w = rectOf(third.main());
  EXPECT_LE(w.right, GetSystemMetrics(SM_CXSCREEN));
  EXPECT_GE(w.left, 0);
  EXPECT_EQ(w.right - w.left, 400);
}
