#include "shell/SaveWatch.h"

#include "shell/HelpWindow.h"

namespace quenlit {

namespace {
constexpr unsigned kVkS = 'S';
}

void SaveWatch::hookKey(unsigned keyMessage, unsigned vk, bool ctrl) {
  const WindowId front = desktop_.foreground();
  if (front == shell_.windowId()) {
    // Down and up both count, so a held key runs the help again on each message.
    if (vk == kVkF1) start(kHelp);
    return;
  }
  // Shift is not looked at: Ctrl+Shift+S saves too. A disabled editor window is
  // blocked by its own Save As dialog, whose Ctrl+S saves nothing yet.
  const WindowId editor = calls_.watchedEditor();
  if (editor != kNoWindow && front == editor && desktop_.isEnabled(editor) && keyMessage == kWmKeyDown && ctrl &&
      vk == kVkS)
    start(kReload);
}

void SaveWatch::start(Mode mode) {
  mode_ = mode;
  ticks_ = 0;
  shell_.timer1().setEnabled(true);
}

void SaveWatch::stop() {
  mode_ = kIdle;
  shell_.timer1().setEnabled(false);
}

bool SaveWatch::Timer1Timer() {
  if (mode_ == kHelp) {
    stop();  // once, on the first tick after the key
    showHelp();
  } else if (mode_ == kReload) {
    return waitForTheEditor();
  }
  return false;
}

WindowId SaveWatch::findHelpWindow() {
  quenlit::findHelpWindow(desktop_, helpWnd_);
  return helpWnd_;
}

void SaveWatch::showHelp() {
  findHelpWindow();
  if (helpWnd_ != kNoWindow && desktop_.isWindow(helpWnd_)) {
    if (desktop_.isIconic(helpWnd_)) desktop_.restore(helpWnd_);
    desktop_.setForeground(helpWnd_);
  } else {
    shell_.openAddress(kHelpPageAddress);
  }
}

bool SaveWatch::waitForTheEditor() {
  ResultPane& pane = pane_;
  if (ticks_ == 0) {
    pane.clear();
    pane.addLine(kReloadingLine);
  } else {
    pane.addLine(Text(kFileBusyLine) + toText(ticks_ + 1));
  }
  ++ticks_;
  if (ticks_ >= kGiveUpTicks) {
    stop();
    pane.addLine(kLoadFailedLine);
    return false;
  }
  // The editor writes the file while it holds it; a missing file counts as free,
  // and reLoad then finds nothing to read.
  if (calls_.fileHeld()) return false;
  stop();
  return true;
}

}  // namespace quenlit
