#include <gtest/gtest.h>

#include <cstdlib>

#include "FakeDesktop.h"
#include "TestSupport.h"
#include "shell/HelpWindow.h"
#include "shell/SaveWatch.h"

using namespace quenlit;
using namespace quenlit::test;

namespace {

constexpr unsigned kVkS = 'S';

// The shell view is the one seam the watch drives; what it does not use is inert.
struct Watch final : Timer, ShellView {
  FakeDesktop desktop;
  WindowId main = desktop.add({u"TForm25", u"Quenlit"});
  WindowId editor = desktop.add({u"Notepad", u"a.lsp - メモ帳"});
  WindowId other = desktop.add({u"Other", u"something else"});
  bool timerOn = false, reload = true;
  int lockedTicks = 0;  // lock tests that still find the file held
  int lockTests = 0, reloads = 0;
  TextList opened;
  MemoryPane paneLines;
  SaveWatch watch{desktop, *this, paneLines,
                  {[this] { return reload ? editor : kNoWindow; }, [this] { return ++lockTests <= lockedTicks; }}};

  void setEnabled(bool on) override { timerOn = on; }
  WindowId windowId() const override { return main; }
  Timer& timer1() override { return *this; }
  void openAddress(TextView a) override { opened.emplace_back(a); }
  void setCaption(TextView) override {}
  ScreenRect windowRect() const override { return {}; }
  PanelHeights panelHeights() const override { return {}; }
  ScreenRect workAreaFor(const ScreenRect&) const override { return {}; }
  void placeWindow(const std::optional<ScreenRect>&, const PanelHeights&) override {}
  JumpListBox& jumpList() override { std::abort(); }
  void setBusy(bool) override {}
  void processMessages() override {}
  void openInNotepad(TextView) override {}

  // A key as the hook sees it, with `front` in front and Ctrl as given.
  void key(WindowId front, unsigned vk, bool ctrl = false, unsigned message = kWmKeyDown) {
    desktop.setForeground(front);
    watch.hookKey(message, vk, ctrl);
  }
  // Runs the timer's ticks while it is on, at most `n`.
  int tick(int n = 100) {
    int ran = 0;
    while (timerOn && ran < n) {
      if (watch.Timer1Timer()) ++reloads;
      ++ran;
    }
    return ran;
  }
};

// The pane while the watch waits, up to the count `upTo`, then the failure if it gave up.
TextList busyLines(int upTo, bool failed = false) {
  TextList l{u"ファイル再読み込み..."};
  for (int i = 2; i <= upTo; ++i) l.push_back(u"ファイル使用中... " + toText(i));
  if (failed) l.push_back(u"ファイル読み込み失敗");
  return l;
}

}  // namespace

// Ctrl+S in the editor: the pane says so at the first tick, and the reload runs on
// the first tick that finds the file free; after ten ticks the watch gives up.
TEST(SaveWatch, ReloadWaitsForTheEditorToLetGo) {
  struct Case {
    int lockedTicks;
    int ticks, reloads;
    TextList pane;
  } cases[] = {
      {0, 1, 1, busyLines(1)},
      {1, 2, 1, busyLines(2)},
      {8, 9, 1, busyLines(9)},  // the ninth and last lock test finds it free
      {9, 10, 0, busyLines(10, true)},
      {1000, 10, 0, busyLines(10, true)},
  };
  for (const auto& c : cases) {
    Watch w;
    w.lockedTicks = c.lockedTicks;
    w.paneLines.addLine(u"old report");
    w.key(w.editor, kVkS, true);
    EXPECT_EQ(w.watch.timerMode(), SaveWatch::kReload);
    EXPECT_TRUE(w.timerOn);
    EXPECT_EQ(w.tick(), c.ticks) << c.lockedTicks;
    EXPECT_FALSE(w.timerOn);
    EXPECT_EQ(w.watch.timerMode(), SaveWatch::kIdle);
    EXPECT_EQ(w.reloads, c.reloads) << c.lockedTicks;
    EXPECT_EQ(w.paneLines.all(), c.pane) << c.lockedTicks;
    EXPECT_LE(w.lockTests, 9);
  }
}

// Only Ctrl+S pressed down while the editor's enabled main window is in front,
// with Reload ticked, starts the watch; only F1 in our own window starts the help.
TEST(SaveWatch, WhichKeysStartWhat) {
  struct Case {
    const char* name;
    int front;  // 0 main, 1 editor, 2 other
    unsigned vk;
    bool ctrl;
    unsigned message;
    bool reload, editorEnabled;
    int mode;
  } cases[] = {
      {"Ctrl+S in the editor", 1, kVkS, true, kWmKeyDown, true, true, SaveWatch::kReload},
      {"Reload off", 1, kVkS, true, kWmKeyDown, false, true, SaveWatch::kIdle},
      {"another window in front", 2, kVkS, true, kWmKeyDown, true, true, SaveWatch::kIdle},
      {"editor blocked by its Save As dialog", 1, kVkS, true, kWmKeyDown, true, false, SaveWatch::kIdle},
      {"S alone", 1, kVkS, false, kWmKeyDown, true, true, SaveWatch::kIdle},
      {"Ctrl+S let go", 1, kVkS, true, kWmKeyUp, true, true, SaveWatch::kIdle},
      {"Ctrl+S in our own window", 0, kVkS, true, kWmKeyDown, true, true, SaveWatch::kIdle},
      {"F1 in our own window", 0, kVkF1, false, kWmKeyDown, true, true, SaveWatch::kHelp},
      {"F1 let go in our own window", 0, kVkF1, false, kWmKeyUp, false, true, SaveWatch::kHelp},
      {"F1 in the editor", 1, kVkF1, false, kWmKeyDown, true, true, SaveWatch::kIdle},
  };
  for (const auto& c : cases) {
    Watch w;
    w.reload = c.reload;
    w.desktop.window(w.editor).enabled = c.editorEnabled;
    const WindowId fronts[] = {w.main, w.editor, w.other};
    w.key(fronts[c.front], c.vk, c.ctrl, c.message);
    EXPECT_EQ(w.watch.timerMode(), c.mode) << c.name;
    EXPECT_EQ(w.timerOn, c.mode != SaveWatch::kIdle) << c.name;
  }
}

// A new message replaces the mode and starts the count again.
TEST(SaveWatch, ANewMessageRestartsTheCount) {
  Watch w;
  w.lockedTicks = 1000;
  w.key(w.editor, kVkS, true);  // Ctrl+Shift+S as well: Shift is not looked at
  w.tick(3);
  EXPECT_EQ(w.watch.timerTicks(), 3);
  w.key(w.editor, kVkS, true);
  EXPECT_EQ(w.watch.timerTicks(), 0);
  w.tick(1);
  EXPECT_EQ(w.paneLines.all(), busyLines(1));  // cleared again at tick 0
  w.key(w.main, kVkF1);  // F1 abandons the waiting reload
  w.tick();
  EXPECT_EQ(w.reloads, 0);
  EXPECT_EQ(w.opened.size(), 1u);
}

TEST(SaveWatch, HelpKeyBringsTheReferenceForwardOrOpensIt) {
  Watch w;
  // No help window: the page opens in the browser, once per key message.
  w.key(w.main, kVkF1);
  w.key(w.main, kVkF1, false, kWmKeyUp);
  EXPECT_EQ(w.tick(), 1);
  EXPECT_EQ(w.opened, TextList{Text(kHelpPageAddress)});

  // A minimized help window (the title begins with the prefix) is restored and brought forward.
  const WindowId help = w.desktop.add({u"Chrome", Text(kHelpTitlePrefix) + u" setq - Google Chrome"}, true);
  w.desktop.window(help).iconic = true;
  w.desktop.log.clear();
  w.key(w.main, kVkF1);
  w.tick();
  EXPECT_EQ(w.watch.helpWnd(), help);
  EXPECT_EQ(w.desktop.log, (std::vector<std::string>{"foreground 1", "restore 4", "foreground 4"}));
  EXPECT_EQ(w.opened.size(), 1u);

  // Closed since: the stored window is kept, but it is gone, so the page opens again.
  w.desktop.window(help).live = false;
  w.key(w.main, kVkF1);
  w.tick();
  EXPECT_EQ(w.watch.helpWnd(), help);
  EXPECT_EQ(w.opened.size(), 2u);
}
