// The CAD bridge, the target CAD dialog and the window placement, driven from
// outside with a stand-in CAD program, stand-in editors and a made-up task bar.
#include <gtest/gtest.h>

#include <fstream>

#include "Driver.h"
#include "win32/base/Ids.h"

using namespace quenlit::e2e;
namespace win = quenlit::win;

namespace {

const char* const kDemo =
    "(defun c:box (/ p1)\r\n"
    "  (setq p1 (getpoint)))\r\n"
    "(defun area (w h)\r\n"
    "  (* w h))\r\n";

const std::wstring kTargetTitle = L"ターゲット CAD";

// A scratch folder whose settings name the stand-in CAD as the target.
struct CadScratch : Scratch {
  CadScratch() {
    write("QuenlitX.ini", std::string("[Target]\r\nProgID=") + toUtf8(StandInCad::kProgId) + "\r\n");
  }
};

// The program with `file` dropped on it and loaded.
void load(App& app, const fs::path& file) {
  app.drop({file});
  ASSERT_TRUE(waitFor([&] { return app.tree().size() == 4; }));  // Command, c:box, Function, area (w h)
}

HTREEITEM row(const App& app, const std::wstring& text) {
  for (const auto& r : app.tree())
    if (r.text == text) return r.item;
  return nullptr;
}

// A handler that ran to its end within `limit`: the program answers again.
bool answersWithin(const App& app, int id, std::chrono::milliseconds limit) {
  DWORD_PTR r;
  return SendMessageTimeoutW(app.control(id), BM_CLICK, 0, 0, SMTO_NORMAL, UINT(limit.count()), &r) != 0;
}

RECT rectOf(HWND h) {
  RECT r{};
  GetWindowRect(h, &r);
  return r;
}

std::string show(const RECT& r) {
  return std::to_string(r.left) + "," + std::to_string(r.top) + " " + std::to_string(r.right - r.left) + "x" +
         std::to_string(r.bottom - r.top);
}

}  // namespace

TEST(Cad, CadButtonLoadsTheFileWithEveryBackslashDoubled) {
  CadScratch scratch;
  fs::create_directories(scratch.dir / "my files");
  const fs::path file = scratch.dir / "my files" / "demo.lsp";
  std::ofstream(file, std::ios::binary) << kDemo;
  StandInCad cad(scratch.dir);
  ASSERT_TRUE(cad.main());
  App app(scratch);
  ASSERT_TRUE(app.started());
  load(app, file);

  app.click(win::kIdButton3);
  std::wstring path = file.wstring(), doubled;
  for (wchar_t c : path) doubled += c == L'\\' ? std::wstring(L"\\\\") : std::wstring(1, c);
  EXPECT_TRUE(cad.waitSent(L"(load \"" + doubled + L"\")(princ)\r")) << toUtf8(cad.sent());
  EXPECT_EQ(GetForegroundWindow(), cad.main());
}

TEST(Cad, CommandsGoFromTheOutlineAndTheJumpListButNotFromAFunction) {
  CadScratch scratch;
  scratch.write("demo.lsp", kDemo);
  StandInCad cad(scratch.dir);
  App app(scratch);
  ASSERT_TRUE(app.started());
  load(app, scratch.file("demo.lsp"));

  app.selectTreeRow(row(app, L"c:box"));
  app.command(win::kIdCAD1);
  EXPECT_TRUE(cad.waitSent(L"box\r")) << toUtf8(cad.sent());

  // A function row sends nothing: the jump list's command that follows is the
  // next text the CAD gets.
  app.selectTreeRow(row(app, L"area (w h)"));
  app.command(win::kIdCAD1);
  app.selectTreeRow(row(app, L"c:box"));
  app.command(win::kIdN6);
  ASSERT_TRUE(waitFor([&] { return SendMessageW(app.control(win::kIdListBox1), LB_GETCOUNT, 0, 0) == 1; }));
  SendMessageW(app.control(win::kIdListBox1), LB_SETCURSEL, 0, 0);
  app.command(win::kIdCAD2);
  EXPECT_TRUE(cad.waitSent(L"box\rbox\r")) << toUtf8(cad.sent());
}

TEST(Cad, CButtonRestoresTheMinimizedCadAndBringsItToTheFront) {
  CadScratch scratch;
  StandInCad cad(scratch.dir, {L"--minimized", L"--hwnd-i4"});
  ASSERT_TRUE(cad.main());
  ASSERT_TRUE(IsIconic(cad.main()));
  App app(scratch);
  ASSERT_TRUE(app.started());
  app.click(win::kIdButton8);
  EXPECT_FALSE(IsIconic(cad.main()));
  EXPECT_EQ(GetForegroundWindow(), cad.main());
  EXPECT_EQ(cad.sent(), L"");
}

// "C", "CAD" and the command send each press Esc in the CAD once it is in front,
// the first time too, when the CAD's window has never been active.
TEST(Cad, EveryActivationPressesEscInTheCad) {
  CadScratch scratch;
  scratch.write("demo.lsp", kDemo);
  StandInCad cad(scratch.dir, {L"--log-keys"});
  ASSERT_TRUE(cad.main());
  App app(scratch);
  ASSERT_TRUE(app.started());
  load(app, scratch.file("demo.lsp"));
  std::wstring path = scratch.file("demo.lsp").wstring(), doubled;
  for (wchar_t c : path) doubled += c == L'\\' ? std::wstring(L"\\\\") : std::wstring(1, c);
  const std::pair<std::function<void()>, std::wstring> actions[] = {
      {[&] { app.click(win::kIdButton8); }, L""},
      {[&] { app.click(win::kIdButton8); }, L""},
      {[&] { app.click(win::kIdButton3); }, L"(load \"" + doubled + L"\")(princ)\r"},
      {[&] { app.selectTreeRow(row(app, L"c:box")); app.command(win::kIdCAD1); }, L"box\r"},
  };
  std::wstring expected;
  for (const auto& [act, text] : actions) {
    SetForegroundWindow(app.main());
    ASSERT_TRUE(waitFor([&] { return GetForegroundWindow() == app.main(); }, 3s));
    act();
    expected += L"\x1B" + text;
    EXPECT_TRUE(cad.waitSent(expected, 5s)) << toUtf8(cad.sent());
  }
}

TEST(Cad, NoCadARefusingCadOrAMissingMemberFailSilently) {
  CadScratch scratch;
  scratch.write("demo.lsp", kDemo);
  App app(scratch);
  ASSERT_TRUE(app.started());
  load(app, scratch.file("demo.lsp"));
  for (int id : {win::kIdButton3, win::kIdButton8, win::kIdSpeedButton5}) {
    EXPECT_TRUE(answersWithin(app, id, 5s)) << id;  // nothing running: no hang
    EXPECT_EQ(app.waitAnyDialog(200ms), nullptr);
  }
  for (const std::vector<std::wstring>& options :
       {std::vector<std::wstring>{L"--reject"}, {L"--lack", L"SendCommand"}, {L"--lack", L"HWND"}}) {
    StandInCad cad(scratch.dir, options);
    ASSERT_TRUE(cad.main());
    EXPECT_TRUE(answersWithin(app, win::kIdButton3, 10s)) << toUtf8(options.back());
    Sleep(300);
    EXPECT_EQ(cad.sent(), L"") << toUtf8(options.back());
    HWND box = app.waitAnyDialog(300ms);
    EXPECT_EQ(box, nullptr) << toUtf8(App::messageText(box));
  }
}

TEST(Cad, TargetDialogEditsTheListAndOkNamesTheTargetInTheCaption) {
  Scratch scratch;
  {
    App app(scratch);
    ASSERT_TRUE(app.started());
    EXPECT_EQ(app.caption(), L"Quenlit");
    PostMessageW(app.control(win::kIdButton3), WM_RBUTTONDOWN, MK_RBUTTON, 0);
    PostMessageW(app.control(win::kIdButton3), WM_RBUTTONUP, 0, 0);
    HWND dlg = app.waitDialog(kTargetTitle);
    ASSERT_TRUE(dlg);
    EXPECT_TRUE(app.topmost(dlg));
    EXPECT_FALSE(app.topmost(app.main()));
    HWND list = GetDlgItem(dlg, win::kIdTargetList);
    HWND edit1 = GetDlgItem(dlg, win::kIdTargetEdit1), edit2 = GetDlgItem(dlg, win::kIdTargetEdit2);
    EXPECT_EQ(windowText(GetDlgItem(dlg, win::kIdTargetLabel1)), L"名称 （説明）");
    EXPECT_EQ(windowText(GetDlgItem(dlg, win::kIdTargetLabel2)), L"ProgID （クラス文字列）");
    auto items = [&] { return listBoxTexts(list); };
    auto fill = [&](const std::wstring& a, const std::wstring& b) {
      SendMessageW(edit1, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(a.c_str()));
      SendMessageW(edit2, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(b.c_str()));
    };

    fill(L"Zed", L"Z.App");
    App::press(dlg, win::kIdTargetAdd);
    fill(L"ABC", L"Abc.App");
    App::press(dlg, win::kIdTargetAdd);
    EXPECT_EQ(items(), (std::vector<std::wstring>{L"ABC\tAbc.App", L"Zed\tZ.App"}));
    EXPECT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), 0);
    EXPECT_EQ(scratch.read("TargetCAD_APIVersion.txt"), "ABC\tAbc.App\r\nZed\tZ.App\r\n");

    // Enter in an edit box changes the selected entry in place.
    fill(L"ABC", L"Abc.App.2");
    PostMessageW(edit2, WM_CHAR, VK_RETURN, 1);
    ASSERT_TRUE(waitFor([&] { return items() == std::vector<std::wstring>{L"ABC\tAbc.App.2", L"Zed\tZ.App"}; }, 5s));
    EXPECT_EQ(scratch.read("TargetCAD_APIVersion.txt"), "ABC\tAbc.App.2\r\nZed\tZ.App\r\n");

    // Deleting the last entry selects the one before it.
    SendMessageW(list, LB_SETCURSEL, 1, 0);
    SendMessageW(dlg, WM_COMMAND, MAKEWPARAM(win::kIdTargetList, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
    EXPECT_EQ(windowText(edit1), L"Zed");
    App::press(dlg, win::kIdTargetDelete);
    EXPECT_EQ(items(), (std::vector<std::wstring>{L"ABC\tAbc.App.2"}));
    EXPECT_EQ(windowText(edit1), L"ABC");
    EXPECT_EQ(windowText(edit2), L"Abc.App.2");
    EXPECT_EQ(scratch.read("TargetCAD_APIVersion.txt"), "ABC\tAbc.App.2\r\n");

    App::press(dlg, win::kIdTargetOk);
    ASSERT_TRUE(waitFor([&] { return !IsWindow(dlg); }, 5s));
    EXPECT_TRUE(waitFor([&] { return app.caption() == L"QuenlitX [ABC]"; }, 5s)) << toUtf8(app.caption());
    EXPECT_TRUE(app.topmost(app.main()));

    // The menu item opens it again with the current target selected.
    app.command(win::kIdCAD4);
    dlg = app.waitDialog(kTargetTitle);
    ASSERT_TRUE(dlg);
    EXPECT_EQ(SendMessageW(GetDlgItem(dlg, win::kIdTargetList), LB_GETCURSEL, 0, 0), 0);
    App::press(dlg, win::kIdTargetCancel);
    ASSERT_TRUE(waitFor([&] { return !IsWindow(dlg); }, 5s));
    ASSERT_TRUE(app.close());
  }
  EXPECT_NE(scratch.read("QuenlitX.ini").find("ProgID=Abc.App.2"), std::string::npos);
  App again(scratch);
  ASSERT_TRUE(again.started());
  EXPECT_EQ(again.caption(), L"QuenlitX [ ABC ]");
}

TEST(Placement, RightAndLeftPutEveryWindowBesideTheMainWindow) {
  CadScratch scratch;
  scratch.write("demo.lsp", kDemo);
  const int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
  DriverWindow taskBar(L"Shell_TrayWnd", RECT{0, sh - 48, sw, sh});
  ASSERT_EQ(FindWindowW(L"Shell_TrayWnd", nullptr), taskBar.hwnd());
  StandInCad cad(scratch.dir);
  StandIn editor(L"notepad", scratch.file("demo.lsp"), {L"--minimized"});
  const std::wstring helpTitle = L"AutoCAD 2023 Developer and ObjectARX ヘルプ | 関数リファレンス(AutoLISP) | getvar";
  StandIn help(L"mery", scratch.file("help.lsp"), {L"--title", helpTitle});
  ASSERT_TRUE(cad.main() && editor.main() && help.main());
  App app(scratch);
  ASSERT_TRUE(app.started());
  app.selectEditor(1);  // メモ帳
  const int mainWidth = rectOf(app.main()).right - rectOf(app.main()).left;

  app.click(win::kIdSpeedButton5);  // ">"
  const RECT rest{0, 0, sw - mainWidth, sh - 48};
  EXPECT_EQ(show(rectOf(app.main())), show(RECT{sw - mainWidth, 0, sw, sh - 48}));
  for (HWND w : {cad.main(), editor.main(), help.main()}) EXPECT_EQ(show(rectOf(w)), show(rest));
  EXPECT_FALSE(IsIconic(editor.main()));
  EXPECT_EQ(GetForegroundWindow(), editor.main());

  app.click(win::kIdSpeedButton4);  // "<"
  EXPECT_EQ(show(rectOf(app.main())), show(RECT{0, 0, mainWidth, sh - 48}));
  for (HWND w : {cad.main(), editor.main(), help.main()})
    EXPECT_EQ(show(rectOf(w)), show(RECT{mainWidth, 0, sw, sh - 48}));
  EXPECT_TRUE(app.topmost(app.main()));
}
