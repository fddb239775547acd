#include <gtest/gtest.h>

#include "TestSupport.h"
#include "app/Settings.h"
#include "bridge/TargetCadForm.h"
#include "shell/WindowLayout.h"

using namespace quenlit;
using namespace quenlit::test;

TEST(IniDocument, ReadsLikeTheProfileFunctions) {
  IniDocument ini(lines(
      "; comment\n"
      "[quenlit]\n"
      "  TargetEditor =  3  \n"
      "LspFullName=\"C:\\a b\\x.lsp\"\n"
      "novalue\n"
      "JumpCheak=0\n"
      "JumpCheak=1\n"
      "[Target]\n"
      "ProgID=\n"
      "[Quenlit]\n"
      "ReloadCheak=1"));
  EXPECT_EQ(ini.read(u"Quenlit", u"targeteditor"), Text(u"3"));
  EXPECT_EQ(ini.read(u"Quenlit", u"LspFullName"), Text(u"C:\\a b\\x.lsp"));  // one pair of quotes goes
  EXPECT_EQ(ini.read(u"Quenlit", u"JumpCheak"), Text(u"0"));                 // the first key counts
  EXPECT_EQ(ini.read(u"Target", u"ProgID"), Text(u""));                      // present but empty
  EXPECT_EQ(ini.read(u"Quenlit", u"ReloadCheak"), std::nullopt);             // only the first section counts
  EXPECT_EQ(ini.read(u"Quenlit", u"novalue"), std::nullopt);
  EXPECT_EQ(ini.read(u"Other", u"TargetEditor"), std::nullopt);
}

TEST(IniDocument, WritingKeepsWhatItDoesNotKnow) {
  IniDocument ini(lines("[Other]\nx=1\n[Quenlit]\nTargetEditor=2\nForeign=yes\n\n[Tail]\ny=2"));
  ini.write(u"quenlit", u"TARGETEDITOR", u"4");
  ini.write(u"Quenlit", u"JumpCheak", u"0");
  ini.write(u"Target", u"ProgID", u"A.B");
  EXPECT_EQ(ini.lines(), lines("[Other]\nx=1\n[Quenlit]\nTARGETEDITOR=4\nForeign=yes\nJumpCheak=0\n\n[Tail]\ny=2\n"
                               "[Target]\nProgID=A.B"));
  EXPECT_EQ(ini.read(u"Quenlit", u"TargetEditor"), Text(u"4"));
}

TEST(IniInteger, DecimalHexadecimalAndNoNumber) {
  const std::pair<const char16_t*, std::optional<int>> cases[] = {
      {u"12", 12}, {u" -1 ", -1}, {u"+7", 7}, {u"0x1F", 31}, {u"0XfF", 255},
      {u"0xFFFFFFFF", -1},  // hexadecimal wraps to negative
      {u"2147483647", 2147483647}, {u"-2147483648", -2147483647 - 1}, {u"2147483648", {}},
      {u"", {}}, {u"true", {}}, {u"1.0", {}}, {u"0x", {}}, {u"0x1G", {}}, {u"0x123456789", {}}, {u"-", {}},
      {u"１", {}},  // full-width digits are no number
  };
  for (auto [text, value] : cases) EXPECT_EQ(parseIniInteger(text), value) << toUtf8(text);
}

// What no file gives is checked at start-up (app_mainform_test), the keys'
// order by MainFormExit there.
TEST(Settings, BrokenValuesGiveDefaults) {
  IniDocument broken(lines("[Quenlit]\nTargetEditor=abc\nJumpCheak=no\nReloadCheak=0x10\nCTRLG2Cheak=0\n"));
  const Settings s = readSettings(broken, u"Current.Id");
  EXPECT_EQ(s.targetEditor, 0);
  EXPECT_TRUE(s.jumpCheck);       // "no" is not a number: the default
  EXPECT_TRUE(s.reloadCheck);     // any integer but 0 is true
  EXPECT_FALSE(s.ctrlG2Check);
  EXPECT_EQ(s.progId, u"Current.Id");  // no key: the ProgID in force
}

// The window's place is taken only whole and sane; panels never below what keeps them usable.
TEST(Settings, WindowKeys) {
  struct Case {
    const char* ini;
    std::optional<ScreenRect> window;
    PanelHeights panels;
  } cases[] = {
      {"", std::nullopt, {193, 166}},
      {"WindowLeft=10\nWindowTop=20\nWindowWidth=300\nWindowHeight=500", ScreenRect{10, 20, 310, 520}, {193, 166}},
      {"WindowLeft=-300\nWindowTop=20\nWindowWidth=400\nWindowHeight=800", ScreenRect{-300, 20, 100, 820}, {193, 166}},
      {"WindowLeft=10\nWindowTop=20\nWindowWidth=300", std::nullopt, {193, 166}},
      {"WindowLeft=10\nWindowTop=20\nWindowWidth=0\nWindowHeight=500", std::nullopt, {193, 166}},
      {"WindowLeft=10\nWindowTop=20\nWindowWidth=999999\nWindowHeight=500", std::nullopt, {193, 166}},
      {"ControlPanelHeight=0\nLowerPanelHeight=-5", std::nullopt, {30, 102}},
      {"ControlPanelHeight=x\nLowerPanelHeight=400", std::nullopt, {193, 400}},
  };
  for (const auto& c : cases) {
    IniDocument ini(lines(std::string("[Quenlit]\n") + c.ini));
    const Settings s = readSettings(ini);
    EXPECT_EQ(s.window, c.window) << c.ini;
    EXPECT_EQ(s.panels, c.panels) << c.ini;
  }
}

TEST(WindowLayout, SplittersMinimumSizeAndScreen) {
  const PanelHeights p;  // 193 and 166, as designed
  EXPECT_EQ(minClientHeight(p), 193 + 12 + 60 + 102);
  EXPECT_EQ(moveSplitter2(p, 40, 600).control, 233);
  EXPECT_EQ(moveSplitter2(p, 400, 600).control, 600 - 12 - 60 - 166);  // the outline keeps three rows
  EXPECT_EQ(moveSplitter2(p, -400, 600).control, 30);
  EXPECT_EQ(moveSplitter1(p, -50, 600).lower, 216);                     // dragged up: the pane grows
  EXPECT_EQ(moveSplitter1(p, 400, 600).lower, 102);                     // search bar, two lines, progress
  // A window smaller than the panels: the lower panel gives way before the outline.
  const VerticalLayout small = layOut(p, 400);
  EXPECT_EQ(small.outline, 60);
  EXPECT_EQ(small.lower, 400 - 12 - 193 - 60);
  EXPECT_EQ(layOut(p, 455).outline, 455 - 12 - 193 - 166);

  const ScreenRect area{0, 0, 1920, 1040};
  EXPECT_EQ(clampToWorkArea({100, 100, 358, 584}, area), (ScreenRect{100, 100, 358, 584}));
  EXPECT_EQ(clampToWorkArea({3000, -200, 3258, 284}, area), (ScreenRect{1662, 0, 1920, 484}));  // a screen now gone
  EXPECT_EQ(clampToWorkArea({-500, 900, -242, 1384}, area), (ScreenRect{0, 556, 258, 1040}));
  EXPECT_EQ(clampToWorkArea({10, 10, 3000, 2000}, area), area);                                 // larger than the screen
}

TEST(SettingsFile, NameEncodingAndDamagedFiles) {
  EXPECT_EQ(settingsPathFor("dir/QuenlitX.exe"), std::filesystem::path("dir/QuenlitX.ini"));
  TempDir dir;
  const auto path = dir.path / "QuenlitX.ini";

  // A new file is ANSI; a path the code page holds stays ANSI (Shift-JIS here).
  SettingsFile file = loadSettingsFile(path);
  Settings s;
  s.lspFullName = T("C:\\作業\\a.lsp");
  writeSettings(file.doc, s);
  FileError error;
  ASSERT_TRUE(saveSettingsFile(path, file, error)) << error.reason;
  std::string bytes = readBytes(path);
  EXPECT_NE(bytes.find("LspFullName=C:\\\x8d\xec\x8b\xc6\\a.lsp\r\n"), std::string::npos);
  EXPECT_EQ(readSettings(loadSettingsFile(path).doc).lspFullName, s.lspFullName);

  // One the code page cannot hold switches the file to UTF-16 with its mark.
  s.lspFullName = T("C:\\Ωmega\\😀.lsp");
  writeSettings(file.doc, s);
  ASSERT_TRUE(saveSettingsFile(path, file, error));
  bytes = readBytes(path);
  ASSERT_GE(bytes.size(), 2u);
  EXPECT_EQ(bytes.substr(0, 2), "\xFF\xFE");
  EXPECT_EQ(readSettings(loadSettingsFile(path).doc).lspFullName, s.lspFullName);

  // Binary junk reads as defaults.
  writeBytes(path, std::string("\0\xFF[Quenlit\n=\n[[]]\x01TargetEditor", 31));
  Settings junk = readSettings(loadSettingsFile(path).doc);
  EXPECT_EQ(junk.targetEditor, 0);
  EXPECT_TRUE(junk.jumpCheck);
}

TEST(TargetCaption, FirstLineWithTabAndProgId) {
  TextList list = {u"Other\tAcad.App", u"Space BricscadApp.AcadApplication", u"My CAD\tBricscadApp.AcadApplication",
                   u"Later\tBricscadApp.AcadApplication"};
  EXPECT_EQ(startupCaption(list, u"BricscadApp.AcadApplication"), Text(u"QuenlitX [ My CAD ]"));
  // A substring test: a longer identifier with the same beginning matches too.
  EXPECT_EQ(startupCaption({u"V23\tBricscadApp.AcadApplication.23"}, u"BricscadApp.AcadApplication"),
            Text(u"QuenlitX [ V23 ]"));
  // The text before the TAB that precedes the identifier, other TABs included.
  EXPECT_EQ(startupCaption({u"a\tb\tX.Y"}, u"X.Y"), Text(u"QuenlitX [ a\tb ]"));
  EXPECT_EQ(startupCaption(list, u"bricscadapp.acadapplication"), std::nullopt);  // case-sensitive
  EXPECT_EQ(startupCaption({}, u"X"), std::nullopt);

  TempDir dir;
  EXPECT_EQ(startupCaptionFromFile(dir.path / "missing.txt", u"X"), std::nullopt);
  writeBytes(dir.path / "t.txt", "\xEF\xBB\xBF" "CAD \xE6\x97\xA5\tX.Y\r\n");
  EXPECT_EQ(startupCaptionFromFile(dir.path / "t.txt", u"X.Y"), T("QuenlitX [ CAD 日 ]"));
}
