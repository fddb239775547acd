// The save watch and the help key. A low-level keyboard hook posts every key
// event of the desktop to the main window (WM_HOOKKEY); this class decides what
// the message means (Ctrl+S in the editor: reload once the editor lets go of the
// file; F1 in our own window: the AutoLISP reference) and does it a little later,
// on the ticks of a 200 ms timer.
#pragma once

#include <functional>

#include "bridge/Desktop.h"
#include "pane/ResultPane.h"
#include "shell/ShellView.h"

namespace quenlit {

inline constexpr unsigned kWmHookKey = 0x806E;  // WM_APP + 110
inline constexpr unsigned kWmKeyDown = 0x100, kWmKeyUp = 0x101;
inline constexpr int kTimer1Interval = 200;     // ms
inline constexpr unsigned kVkF1 = 0x70;

inline constexpr TextView kReloadingLine = u"ファイル再読み込み...";
inline constexpr TextView kFileBusyLine = u"ファイル使用中... ";  // followed by the tick's number
inline constexpr TextView kLoadFailedLine = u"ファイル読み込み失敗";

// What the watch asks of the rest of the program besides the window.
struct SaveWatchCalls {
  // The editor window whose saves count (EditorMainWnd); none while "Reload" is off.
  std::function<WindowId()> watchedEditor;
  std::function<bool()> fileHeld;  // isFileLocked(LspFullName)
};

class SaveWatch {
 public:
  enum Mode { kIdle = 0, kReload = 100, kHelp = 200 };
  // Ten ticks of waiting for the editor (2 s): nine lock tests, then the failure line.
  static constexpr int kGiveUpTicks = 10;

  // `pane` shows the watch's lines while it waits for the editor.
  SaveWatch(Desktop& desktop, ShellView& shell, ResultPane& pane, SaveWatchCalls calls)
      : desktop_(desktop), shell_(shell), pane_(pane), calls_(std::move(calls)) {}

  // WM_HOOKKEY: the key message (WM_KEYDOWN or WM_KEYUP), the virtual-key code
  // and whether Ctrl was down when the key was typed.
  void hookKey(unsigned keyMessage, unsigned vk, bool ctrlDown);
  // True when the file is free again and is to be reloaded now; the watch has
  // stopped by then, so a message box of the reload does not tick it again.
  [[nodiscard]] bool Timer1Timer();

  int timerMode() const { return mode_; }
  int timerTicks() const { return ticks_; }
  // HelpWnd, searched afresh (the window placement moves it too); the last one
  // found when none is open now.
  WindowId findHelpWindow();
  WindowId helpWnd() const { return helpWnd_; }

 private:
  void start(Mode mode);
  void stop();
  void showHelp();
  bool waitForTheEditor();

  Desktop& desktop_;
  ShellView& shell_;
  ResultPane& pane_;
  SaveWatchCalls calls_;
  int mode_ = kIdle;
  int ticks_ = 0;
  WindowId helpWnd_ = kNoWindow;  // never cleared: a later search that finds nothing keeps it
};

}  // namespace quenlit
