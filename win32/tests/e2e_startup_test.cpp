// Start-up, settings and exit, driven from outside.
#include <gtest/gtest.h>

#include "Driver.h"
#include "app/Ids.h"

using namespace quenlit::e2e;
namespace win = quenlit::win;

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
  EXPECT_EQ(s.read("QuenlitX.ini"),
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
  EXPECT_EQ(s.read("QuenlitX.ini"), "[Quenlit]\r\nTargetEditor=3\r\nJumpCheak=0\r\nReloadCheak=1\r\nLspFullName=" +
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
