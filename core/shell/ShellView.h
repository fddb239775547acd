// The main window as a window among others: its caption, its place on the
// screen, the jump list, Timer1, the wait cursor, the paint pump, and the
// shell's "open" verb.
#pragma once

#include <optional>

#include "bridge/Desktop.h"
#include "shell/JumpList.h"
#include "shell/WindowLayout.h"

namespace quenlit {

// Timer1: ticks every 200 ms while enabled. Enabling it while it runs must not
// restart its interval.
class Timer {
 public:
  virtual ~Timer() = default;
  virtual void setEnabled(bool enabled) = 0;
};

class ShellView {
 public:
  virtual ~ShellView() = default;
  virtual void setCaption(TextView caption) = 0;
  virtual WindowId windowId() const = 0;  // this window, as the desktop knows it
  // The window's rectangle on the screen (its restored one when minimized) and
  // the heights of the panels the splitters move.
  virtual ScreenRect windowRect() const = 0;
  virtual PanelHeights panelHeights() const = 0;
  // The work area of the screen that holds most of `rect`.
  virtual ScreenRect workAreaFor(const ScreenRect& rect) const = 0;
  // Moves the window to `rect` (where it stands when there is none) and sets the panels.
  virtual void placeWindow(const std::optional<ScreenRect>& rect, const PanelHeights& panels) = 0;
  virtual JumpListBox& jumpList() = 0;  // ListBox1
  virtual Timer& timer1() = 0;          // 200 ms, off at start
  // The wait cursor, from the start of a load or a check to its end.
  virtual void setBusy(bool busy) = 0;
  virtual void processMessages() = 0;
  // Has the shell open the editor on a file ("Notepad" with the path as parameter).
  virtual void openInNotepad(TextView path) = 0;
  // Has the shell open an address with its "open" verb (the browser for a web page).
  virtual void openAddress(TextView address) = 0;
};

}  // namespace quenlit
