// The check buttons, the exclusion list, the search bar and the small handlers,
// each compared with what the command line tool prints for the same file.
#include <gtest/gtest.h>

#include "Driver.h"
#include "QuenlitVersion.h"
#include "win32/base/Ids.h"

using namespace quenlit::e2e;
namespace win = quenlit::win;

namespace {

struct Loaded {
  Scratch s;
  std::wstring path;
  App app{s};
  explicit Loaded(const std::string& name, const std::string& bytes = {}) {
    if (bytes.empty())
      std::filesystem::copy_file(projectRoot() / "samples" / "demo.lsp", s.file(name));
    else
      s.write(name, bytes);
    path = s.file(name).wstring();
    if (!app.started()) return;
    app.drop({s.file(name)});
    waitFor([&] { return app.text(win::kIdEdit1) == fromUtf8(name); });
  }
};

}  // namespace

TEST(Checks, ButtonsWriteWhatTheCommandLinePrints) {
  Loaded l("demo.lsp");
  ASSERT_EQ(l.app.text(win::kIdEdit1), L"demo.lsp");
  App& app = l.app;

  app.click(win::kIdButton2);
  EXPECT_EQ(app.pane(), runCli({L"parens", l.path}).lines);
  app.click(win::kIdButton4);
  EXPECT_EQ(app.pane(), runCli({L"vars", l.path}).lines);
  app.click(win::kIdButton7);
  EXPECT_EQ(app.pane(), runCli({L"funcs", l.path}).lines);

  // The catalog: the same apart from the moment it was made.
  app.click(win::kIdButton5);
  auto pane = app.pane();
  auto cli = runCli({L"catalog", l.path}).lines;
  ASSERT_GE(pane.size(), 4u);
  ASSERT_EQ(pane.size(), cli.size());
  EXPECT_EQ(pane[2].rfind(L" 作成日時 : ", 0), 0u);
  pane[2] = cli[2] = L"";
  EXPECT_EQ(pane, cli);
  EXPECT_EQ(SendMessageW(app.control(win::kIdMemo2), EM_GETFIRSTVISIBLELINE, 0, 0), 0);
}

TEST(Checks, UnbalancedFileListsTheRangesAndShowsTheMessage) {
  Loaded l("bad.lsp", "(defun f ()\r\n  (princ)\r\n(defun g () 1)\r\n");
  App& app = l.app;
  ASSERT_EQ(app.text(win::kIdEdit1), L"bad.lsp");
  app.clickAsync(win::kIdButton2);
  HWND box = app.waitDialog(L"QuenlitX");
  ASSERT_TRUE(box);
  // The command line prints the pane, then the message's lines.
  auto all = app.pane();
  for (const auto& line : splitLines(App::messageText(box))) all.push_back(line);
  EXPECT_EQ(all, runCli({L"parens", l.path}).lines);
  App::press(box, IDOK);
  EXPECT_TRUE(waitFor([&] { return !app.findDialog(L"QuenlitX"); }));
}

TEST(Checks, ExclusionButtonListsTheWordsAndCreatesTheUserFile) {
  Loaded l("demo.lsp");
  App& app = l.app;
  l.s.write("jogaiList.txt", "myConst\r\n");
  app.clickAsync(win::kIdButton6);
  HWND ask = app.waitDialog(L"確認");
  ASSERT_TRUE(ask);
  EXPECT_EQ(App::messageText(ask),
            L"変数から除外する文字列ファイル jogaiList.txt を作成、編集しますか？\n"
            L"保存後に、再度[ 除外 ]ボタンをクリックすると変更が反映されます．");
  auto pane = app.pane();
  EXPECT_EQ(pane.size(), 58u);
  EXPECT_NE(std::find(pane.begin(), pane.end(), L"myConst"), pane.end());
  App::press(ask, IDNO);
  ASSERT_TRUE(waitFor([&] { return !app.findDialog(L"確認"); }));

  // The user's word now counts: "myConst" is no longer a variable.
  l.s.write("demo.lsp", l.s.read("demo.lsp") + "(setq myConst 1 other 2)\r\n");
  app.click(win::kIdButton4);
  EXPECT_EQ(app.pane(), runCli({L"vars", L"--exclude", l.s.file("jogaiList.txt").wstring(), l.path}).lines);

  // Yes without a user file: an empty file is created and Notepad opens it.
  std::filesystem::remove(l.s.file("jogaiList.txt"));
  app.clickAsync(win::kIdButton6);
  ask = app.waitDialog(L"確認");
  ASSERT_TRUE(ask);
  EXPECT_EQ(app.pane().size(), 57u);
  App::press(ask, IDYES);
  ASSERT_TRUE(waitFor([&] { return l.s.exists("jogaiList.txt"); }));
  EXPECT_EQ(l.s.read("jogaiList.txt"), "");
  HWND notepad = nullptr;
  EXPECT_TRUE(waitFor([&] { return (notepad = FindWindowW(L"Notepad", nullptr)) != nullptr; }));
  if (notepad) PostMessageW(notepad, WM_CLOSE, 0, 0);
}

TEST(Checks, SearchListsLinesAndDeletionRewritesTheFileWithABackup) {
  const std::string source =
      "(defun a ()\r\n  (setq x 1)\r\n  (princ x))\r\n(setq y (list x))\r\n;; setq x in a comment\r\n";
  Loaded l("s.lsp", source);
  App& app = l.app;
  ASSERT_EQ(app.text(win::kIdEdit1), L"s.lsp");

  // A pane that is not a search result is refused.
  app.setText(win::kIdEdit2, L"setq x");
  app.clickAsync(win::kIdButton12);
  HWND box = app.waitDialog(L"QuenlitX");
  ASSERT_TRUE(box);
  EXPECT_EQ(App::messageText(box), L"全行で行番号が取得できまません.");
  App::press(box, IDOK);
  ASSERT_TRUE(waitFor([&] { return !app.findDialog(L"QuenlitX"); }));

  // Enter in the search box searches; ticking the order box searches again.
  app.pressEnter(win::kIdEdit2);
  const auto found = runCli({L"search", L"setq x", l.path}).lines;
  ASSERT_EQ(found.size(), 3u);
  EXPECT_TRUE(waitFor([&] { return app.pane() == found; }));
  app.setText(win::kIdEdit2, L"x setq");
  app.click(win::kIdCheckBox3);
  EXPECT_EQ(app.pane(), runCli({L"search", L"--ordered", L"x setq", l.path}).lines);
  app.click(win::kIdButton11);
  EXPECT_EQ(app.pane(), runCli({L"search", L"--ordered", L"x setq", l.path}).lines);
  app.click(win::kIdCheckBox3);
  app.setText(win::kIdEdit2, L"setq x");
  app.click(win::kIdButton11);
  ASSERT_EQ(app.pane(), found);

  // No: nothing is written.
  app.clickAsync(win::kIdButton12);
  HWND ask = app.waitDialog(L"検索行削除");
  ASSERT_TRUE(ask);
  EXPECT_EQ(App::messageText(ask),
            L"エディターで編集中の時は閉じてから実行して下さい.\n現ファイルは .bak で保存されます.\n"
            L"検索行をすべて削除しますか？");
  App::press(ask, IDNO);
  ASSERT_TRUE(waitFor([&] { return !app.findDialog(L"検索行削除"); }));
  EXPECT_EQ(l.s.read("s.lsp"), source);
  EXPECT_FALSE(l.s.exists("s.bak"));

  // Saved in the editor behind the window's back: Yes writes nothing and says why.
  const std::string edited = source + "(setq x 2)\r\n";
  l.s.write("s.lsp", edited);
  app.clickAsync(win::kIdButton12);
  ask = app.waitDialog(L"検索行削除");
  ASSERT_TRUE(ask);
  App::press(ask, IDYES);
  HWND changed = app.waitDialog(L"QuenlitX");
  ASSERT_TRUE(changed);
  EXPECT_EQ(App::messageText(changed), L"ファイルが読み込み後に変更されています．再読み込みしてから実行して下さい．");
  App::press(changed, IDOK);
  ASSERT_TRUE(waitFor([&] { return !app.findDialog(L"QuenlitX"); }));
  EXPECT_EQ(l.s.read("s.lsp"), edited);
  EXPECT_FALSE(l.s.exists("s.bak"));
  EXPECT_EQ(app.pane(), found);
  l.s.write("s.lsp", source);  // as it was read: the deletion may go ahead

  // Yes: the same result as the command line's deletion of a copy.
  l.s.write("copy.lsp", source);
  runCli({L"search", L"--delete", L"setq x", l.s.file("copy.lsp").wstring()});
  app.clickAsync(win::kIdButton12);
  ask = app.waitDialog(L"検索行削除");
  ASSERT_TRUE(ask);
  App::press(ask, IDYES);
  ASSERT_TRUE(waitFor([&] { return l.s.exists("s.bak"); }));
  EXPECT_TRUE(waitFor([&] { return app.pane().empty(); }));
  EXPECT_EQ(l.s.read("s.lsp"), l.s.read("copy.lsp"));
  EXPECT_EQ(l.s.read("s.bak"), l.s.read("copy.bak"));
  EXPECT_EQ(l.s.read("s.lsp"), "\xEF\xBB\xBF(defun a ()\r\n  (princ x))\r\n");
}

TEST(Checks, Edit1ShowsTheFullNameAndTheMenuShowsTheVersion) {
  Scratch s(false);
  App app(s);
  ASSERT_TRUE(app.started());
  PostMessageW(app.control(win::kIdEdit1), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  PostMessageW(app.control(win::kIdEdit1), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  Sleep(700);
  EXPECT_FALSE(app.findDialog(L"QuenlitX"));  // no current file: nothing

  std::filesystem::copy_file(projectRoot() / "samples" / "demo.lsp", s.file("demo.lsp"));
  app.drop({s.file("demo.lsp")});
  ASSERT_TRUE(waitFor([&] { return app.text(win::kIdEdit1) == L"demo.lsp"; }));
  PostMessageW(app.control(win::kIdEdit1), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  PostMessageW(app.control(win::kIdEdit1), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  HWND box = app.waitDialog(L"QuenlitX");
  ASSERT_TRUE(box);
  EXPECT_EQ(App::messageText(box), s.file("demo.lsp").wstring());
  App::press(box, IDOK);
  ASSERT_TRUE(waitFor([&] { return !app.findDialog(L"QuenlitX"); }));

  for (int item : {win::kIdN18, win::kIdN20})
    EXPECT_EQ(app.infoBox(item), L"QuenlitX.exe " QUENLIT_VERSION "\nCopyright (C) 2025 QuenlitX developers");
}

TEST(Checks, FileErrorBoxGivesTheSystemsOwnReason) {
  const std::string source = "(setq a 1)\r\n(princ)\r\n";
  Loaded l("ro.lsp", source);
  App& app = l.app;
  ASSERT_EQ(app.text(win::kIdEdit1), L"ro.lsp");
  app.setText(win::kIdEdit2, L"setq");
  app.pressEnter(win::kIdEdit2);
  ASSERT_TRUE(waitFor([&] { return app.pane().size() == 1; }));
  ASSERT_TRUE(SetFileAttributesW(l.path.c_str(), FILE_ATTRIBUTE_READONLY));
  app.clickAsync(win::kIdButton12);
  HWND ask = app.waitDialog(L"検索行削除");
  ASSERT_TRUE(ask);
  App::press(ask, IDYES);
  HWND box = app.waitDialog(L"QuenlitX");
  ASSERT_TRUE(box);
  // The reason in the system's own words and language, as this process gets them.
  wchar_t* reason = nullptr;
  FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                 ERROR_ACCESS_DENIED, 0, reinterpret_cast<wchar_t*>(&reason), 0, nullptr);
  std::wstring expected = reason ? reason : L"";
  LocalFree(reason);
  while (!expected.empty() && (expected.back() == L'\n' || expected.back() == L'\r' || expected.back() == L' '))
    expected.pop_back();
  ASSERT_FALSE(expected.empty());
  EXPECT_EQ(App::messageText(box), L"ファイル \"" + l.path + L"\" を開けません。\n" + expected);
  App::press(box, IDOK);
  SetFileAttributesW(l.path.c_str(), FILE_ATTRIBUTE_NORMAL);
  EXPECT_EQ(l.s.read("ro.lsp"), source);
}

// quenlit.exe in a Japanese console (code page 932) shows its Japanese output as
// written; the same output through a pipe is UTF-8, as documented.
TEST(Cli, JapaneseReadsRightInAConsoleAndStaysUtf8InAPipe) {
  Scratch s(false);
  s.write("j.lsp", "(setq 日本 1)\n");
  const std::wstring file = s.file("j.lsp").wstring();
  EXPECT_EQ(runCli({L"search", L"setq", file}).lines, std::vector<std::wstring>{L"    1| (setq 日本 1)"});

  FreeConsole();
  ASSERT_TRUE(AllocConsole());
  SetConsoleOutputCP(932);
  SECURITY_ATTRIBUTES sa{sizeof sa, nullptr, TRUE};
  HANDLE screen = CreateConsoleScreenBuffer(GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &sa,
                                            CONSOLE_TEXTMODE_BUFFER, nullptr);
  ASSERT_NE(screen, INVALID_HANDLE_VALUE);
  STARTUPINFOW si{};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESTDHANDLES;
  si.hStdOutput = si.hStdError = screen;
  si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  std::wstring cmd = L"\"" + (binDir() / "quenlit.exe").wstring() + L"\" search setq \"" + file + L"\"";
  PROCESS_INFORMATION pi{};
  ASSERT_TRUE(CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi));
  WaitForSingleObject(pi.hProcess, 30000);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  wchar_t cells[80] = {};
  DWORD n = 0;
  ReadConsoleOutputCharacterW(screen, cells, DWORD(std::size(cells)), COORD{0, 0}, &n);
  const std::wstring row(cells, n);
  CloseHandle(screen);
  FreeConsole();
  EXPECT_EQ(row.substr(0, row.find_last_not_of(L' ') + 1), L"    1| (setq 日本 1)") << toUtf8(row);
}
