// The save watch and the help key. A low-level keyboard hook posts every key
// event of the desktop to the main window (WM_HOOKKEY); this class decides what
// the message means (Ctrl+S in the editor: reload once the editor lets go of the
// file; F1 in our own window: the AutoLISP reference) and does it a little later,
// on the ticks of a 200 ms timer.
#pragma once

#include "bridge/Desktop.h"
#include "pane/ResultPane.h"

namespace quenlit {

inline constexpr unsigned kWmHookKey = 0x806E;  // WM_APP + 110
inline constexpr unsigned kWmKeyDown = 0x100, kWmKeyUp = 0x101;
inline constexpr int kTimer1Interval = 200;     // ms
inline constexpr unsigned kVkF1 = 0x70;

inline constexpr TextView kReloadingLine = u"ファイル再読み込み...";
inline constexpr TextView kFileBusyLine = u"ファイル使用中... ";  // followed by the tick's number
inline constexpr TextView kLoadFailedLine = u"ファイル読み込み失敗";

// Timer1: ticks every 200 ms while enabled. Enabling it while it runs must not
// restart its interval.
class Timer {
 public:
  virtual ~Timer() = default;
  virtual void setEnabled(bool enabled) = 0;
};

// What the watch needs of the main window.
class SaveWatchHost {
 public:
  virtual ~SaveWatchHost() = default;
  virtual WindowId mainWindow() = 0;        // the system's own window
  virtual WindowId editorMainWindow() = 0;  // EditorMainWnd
  virtual bool reloadChecked() = 0;         // CheckBox2
  virtual bool currentFileLocked() = 0;     // isFileLocked(LspFullName)
  virtual ResultPane& pane() = 0;           // Memo2
  virtual void reLoad() = 0;
  virtual void openInBrowser(TextView address) = 0;  // the shell's "open" verb
};

class SaveWatch {
 public:
  enum Mode { kIdle = 0, kReload = 100, kHelp = 200 };
  // Ten ticks of waiting for the editor (2 s): nine lock tests, then the failure line.
  static constexpr int kGiveUpTicks = 10;

  SaveWatch(Desktop& desktop, Timer& timer, SaveWatchHost& host) : desktop_(desktop), timer_(timer), host_(host) {}

  // WM_HOOKKEY: the key message (WM_KEYDOWN or WM_KEYUP), the virtual-key code
  // and whether Ctrl was down when the key was typed.
  void hookKey(unsigned keyMessage, unsigned vk, bool ctrlDown);
  void Timer1Timer();

  int timerMode() const { return mode_; }
  int timerTicks() const { return ticks_; }
  WindowId helpWnd() const { return helpWnd_; }
  WindowId& helpWnd() { return helpWnd_; }  // HelpWnd, searched by the window placement too

 private:
  void start(Mode mode);
  void stop();
  void showHelp();
  void waitForTheEditor();

  Desktop& desktop_;
  Timer& timer_;
  SaveWatchHost& host_;
  int mode_ = kIdle;
  int ticks_ = 0;
  WindowId helpWnd_ = kNoWindow;  // never cleared: a later search that finds nothing keeps it
};

}  // namespace quenlit
