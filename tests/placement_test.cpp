// The "<" and ">" placement: the geometry for the task bar where it may be
// docked, and which windows are moved, restored and brought forward; the help
// window search it shares with the F1 key.
#include <gtest/gtest.h>

#include "FakeAutomation.h"
#include "FakeDesktop.h"
#include "shell/HelpWindow.h"
#include "shell/WindowPlacement.h"

using namespace quenlit;
using namespace quenlit::test;

namespace {

using Log = std::vector<std::string>;
const Text kHelpTitle = Text(kHelpTitlePrefix) + u" getvar";

}  // namespace

TEST(Placement, GeometryForEachTaskBarDock) {
  struct Case {
    const char* name;
    bool right;
    ScreenRect taskBar, workArea;
    ScreenRect main, rest;
  };
  const ScreenSize screen{1920, 1080};
  const Case cases[] = {
      {"bottom, >", true, {0, 1032, 1920, 1080}, {0, 0, 1920, 1032}, {1662, 0, 1920, 1032}, {0, 0, 1662, 1032}},
      {"bottom, <", false, {0, 1032, 1920, 1080}, {0, 0, 1920, 1032}, {0, 0, 258, 1032}, {258, 0, 1920, 1032}},
      // The bar's height alone decides at the bottom, whatever the work area says.
      {"bottom, no work area", true, {0, 1032, 1920, 1080}, {}, {1662, 0, 1920, 1032}, {0, 0, 1662, 1032}},
      {"left, >", true, {0, 0, 62, 1080}, {62, 0, 1920, 1080}, {1662, 0, 1920, 1080}, {62, 0, 1662, 1080}},
      {"left, <", false, {0, 0, 62, 1080}, {62, 0, 1920, 1080}, {62, 0, 320, 1080}, {320, 0, 1920, 1080}},
      {"right, >", true, {1858, 0, 1920, 1080}, {0, 0, 1858, 1080}, {1600, 0, 1858, 1080}, {0, 0, 1600, 1080}},
      {"top, <", false, {0, 0, 1920, 48}, {0, 48, 1920, 1080}, {0, 48, 258, 1080}, {258, 48, 1920, 1080}},
      {"side bar, empty work area", false, {0, 0, 62, 1080}, {}, {0, 0, 258, 1080}, {258, 0, 1920, 1080}},
  };
  for (const Case& c : cases) {
    const Placement p = placementGeometry(c.right, screen, c.taskBar, c.workArea, 258);
    EXPECT_EQ(p.main, c.main) << c.name;
    EXPECT_EQ(p.rest, c.rest) << c.name;
    EXPECT_GT(p.rest.height(), 0) << c.name;
  }
}

TEST(Placement, FindHelpWindowTakesTheFirstTitleThatBeginsWithTheHelpTitle) {
  struct Case {
    const char* name;
    std::vector<Text> titles;  // front to back
    WindowId before, after;
  };
  const Text longTitle = kHelpTitle + Text(300, u'x');  // read cut at 254 characters, still a match
  const Case cases[] = {
      {"first match wins", {u"editor", kHelpTitle, kHelpTitle}, kNoWindow, 2},
      {"long title", {longTitle}, kNoWindow, 1},
      {"prefix not at the start", {u"x" + kHelpTitle}, 7, 7},
      {"title cut short of the prefix", {Text(kHelpTitlePrefix).substr(0, 20)}, 7, 7},
      {"none keeps the old value", {u"editor"}, 9, 9},
  };
  for (const Case& c : cases) {
    FakeDesktop desk;
    for (const Text& t : c.titles) desk.add({.cls = u"Help", .title = t});
    WindowId help = c.before;
    findHelpWindow(desk, help);
    EXPECT_EQ(help, c.after) << c.name;
  }
}

namespace {

// The main window (1), the task bar (2), the CAD (3), Notepad showing a file (4)
// and the help window (5) on a 1920 x 1080 screen.
struct PlacementDesk {
  FakeDesktop desk;
  FakeAutomation automation{desk.log};
  Cad cad{automation, desk};
  EditorBridge editor{desk};
  WindowId help = kNoWindow;
  WindowId main = desk.add({.cls = u"TForm25", .rect = {100, 100, 358, 600}});
  WindowId taskBar = desk.add({.cls = u"Shell_TrayWnd", .rect = {0, 1032, 1920, 1080}});
  WindowId cadWindow = desk.add({.cls = u"CadMain"});
  WindowId notepad = desk.add({.cls = u"Notepad", .title = u"a.lsp - メモ帳"});
  WindowId helpWindow = desk.add({.cls = u"Help", .title = kHelpTitle});
  PlacementDesk() { automation.apps["Test.Cad"].hwnd = std::int64_t(cadWindow); }
  void run(bool right) {
    placeWindows(right, main, desk, {cad, u"Test.Cad", editor, kEditorNotepad, [this] {
                   findHelpWindow(desk, help);
                   return help;
                 }});
  }
  Log places() const {
    Log out;
    for (const auto& l : desk.log)
      if (l.rfind("place", 0) == 0 || l.rfind("restore", 0) == 0 || l.rfind("foreground", 0) == 0) out.push_back(l);
    return out;
  }
};

}  // namespace

TEST(Placement, EveryWindowGoesBesideTheMainWindow) {
  PlacementDesk d;
  d.desk.window(d.notepad).iconic = true;  // minimized: restored first, in front at the end
  d.run(true);
  EXPECT_EQ(d.places(), (Log{"place 1 1662,0 258x1032", "foreground 3", "place 3 0,0 1662x1032",
                             "place 4 0,0 1662x1032", "foreground 4", "place 5 0,0 1662x1032"}));
  EXPECT_FALSE(d.desk.window(d.notepad).iconic);
  EXPECT_EQ(d.desk.foreground(), d.notepad);
  EXPECT_EQ(d.help, d.helpWindow);
  // Every other window is shown restored before it is moved.
  for (WindowId w : {d.cadWindow, d.notepad, d.helpWindow})
    EXPECT_NE(std::find(d.desk.log.begin(), d.desk.log.end(), "showrestored " + std::to_string(w)), d.desk.log.end());

  PlacementDesk left;
  left.run(false);
  EXPECT_EQ(left.desk.window(left.main).rect, (ScreenRect{0, 0, 258, 1032}));
  for (WindowId w : {left.cadWindow, left.notepad, left.helpWindow})
    EXPECT_EQ(left.desk.window(w).rect, (ScreenRect{258, 0, 1920, 1032}));
}

TEST(Placement, WithoutCadOrTaskBar) {
  PlacementDesk noCad;
  noCad.automation.apps.clear();
  noCad.run(true);
  EXPECT_EQ(noCad.places(), (Log{"place 1 1662,0 258x1032", "place 4 0,0 1662x1032", "foreground 4",
                                 "place 5 0,0 1662x1032"}));

  PlacementDesk noBar;
  noBar.desk.window(noBar.taskBar).live = false;
  noBar.run(true);
  EXPECT_EQ(noBar.desk.log, Log{});
}
