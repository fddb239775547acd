// The window's CAD side: which handler sends what to the CAD, the target
// dialog's choice reaching the caption, the settings and the next start, and
// the placement buttons.
#include <gtest/gtest.h>

#include "AppFakes.h"
#include "shell/HelpWindow.h"

using namespace quenlit;
using namespace quenlit::test;

namespace {

using Log = std::vector<std::string>;

// kDemo loaded; its outline: 0 "Command", 1 c:box, 2 inner, 3 "Function", 4 area (w h).
// A CAD under the default identifier has the window 1.
struct CadApp : App {
  WindowId cadWindow = desktop.add({.cls = u"CadMain"});
  CadApp() {
    start();
    automation.apps["BricscadApp.AcadApplication"].hwnd = std::int64_t(cadWindow);
    desktop.log.clear();
  }
  // What reached the CAD's SendCommand.
  Log sent() const {
    Log out;
    for (const auto& l : desktop.log)
      if (l.rfind("call SendCommand ", 0) == 0) out.push_back(l.substr(17));
    return out;
  }
};

}  // namespace

TEST(MainFormCad, EachHandlerSendsItsTextOrNothing) {
  CadApp app;
  const std::string load = "(load \"" + U8(replaceAll(app.path("demo.lsp"), u"\\", u"\\\\")) + "\")(princ)<CR>";
  struct Case {
    const char* name;
    std::function<void(CadApp&)> act;
    Log sent;
  };
  const Case cases[] = {
      {"CAD loads the file", [](CadApp& a) { a.form.Button3Click(); }, {load}},
      {"a right press opens the dialog instead", [](CadApp& a) { a.form.Button3MouseDown(true); }, {}},
      {"a left press does nothing by itself", [](CadApp& a) { a.form.Button3MouseDown(false); }, {}},
      {"CAD1 on a command row", [](CadApp& a) { a.view.treeImpl.selected = 1; a.form.CAD1Click(); }, {"box<CR>"}},
      {"CAD1 on a function row", [](CadApp& a) { a.view.treeImpl.selected = 4; a.form.CAD1Click(); }, {}},
      {"CAD1 on a group row", [](CadApp& a) { a.view.treeImpl.selected = 0; a.form.CAD1Click(); }, {}},
      {"CAD1 without selection", [](CadApp& a) { a.form.CAD1Click(); }, {}},
      {"CAD2 on the jump list's command",
       [](CadApp& a) {
         a.view.treeImpl.selected = 1;
         a.form.N6Click();
         a.view.jumpBox.selected = 0;
         a.form.CAD2Click();
       },
       {"box<CR>"}},
      {"CAD2 without selection", [](CadApp& a) { a.form.CAD2Click(); }, {}},
  };
  for (const Case& c : cases) {
    app.desktop.log.clear();
    app.view.treeImpl.selected.reset();
    app.view.jumpBox.selected.reset();
    c.act(app);
    EXPECT_EQ(app.sent(), c.sent) << c.name;
  }

  app.view.log.clear();
  app.form.Button3MouseDown(true);
  EXPECT_EQ(app.view.log, Log{"targetDialog BricscadApp.AcadApplication"});

  // "C" only brings the CAD forward.
  app.desktop.log.clear();
  app.form.Button8Click();
  EXPECT_EQ(app.desktop.foreground(), app.cadWindow);
  EXPECT_EQ(app.sent(), Log{});

  // No current file: the CAD is not even contacted.
  std::filesystem::remove(app.file("demo.lsp"));
  app.desktop.log.clear();
  app.form.Button3Click();
  EXPECT_EQ(app.desktop.log, Log{});
}

// A choice made in the dialog reaching the caption, the settings and the next
// start is driven end to end (Cad.TargetDialogEditsTheListAndOkNamesTheTargetInTheCaption).
TEST(MainFormCad, ACancelledTargetDialogChangesNothing) {
  CadApp app;
  app.view.targetScript = [](TargetCadForm&) {};
  app.form.CAD3Click();
  EXPECT_EQ(app.view.log, Log{"targetDialog BricscadApp.AcadApplication"});
  EXPECT_EQ(app.view.caption, u"Quenlit");
  EXPECT_EQ(app.form.progId(), u"BricscadApp.AcadApplication");
  EXPECT_FALSE(std::filesystem::exists(app.file("TargetCAD_APIVersion.txt")));
}

TEST(MainFormCad, PlacementMovesTheMainWindowAndTheOthers) {
  CadApp app;
  app.view.ownWindow = app.desktop.add({.cls = u"TForm25", .rect = {0, 0, 258, 500}});
  app.desktop.add({.cls = u"Shell_TrayWnd", .rect = {0, 1032, 1920, 1080}});
  const WindowId code = app.openInVSCode("demo.lsp");
  const WindowId help = app.desktop.add({.cls = u"Help", .title = Text(kHelpTitlePrefix) + u" getvar"});
  app.form.SpeedButton4Click(true);
  EXPECT_EQ(app.desktop.window(app.view.ownWindow).rect, (ScreenRect{1662, 0, 1920, 1032}));
  for (WindowId w : {app.cadWindow, code, help})
    EXPECT_EQ(app.desktop.window(w).rect, (ScreenRect{0, 0, 1662, 1032}));
  EXPECT_EQ(app.desktop.foreground(), code);
  EXPECT_EQ(app.form.helpWnd(), help);  // the one HelpWnd that F1 uses too
}
