#include "shell/WindowPlacement.h"

#include <algorithm>


namespace quenlit {

Placement placementGeometry(bool right, ScreenSize screen, const ScreenRect& taskBar, const ScreenRect& workArea,
                            int mainWidth) {
  // The full-height strip above the bar is the rule; for a bar at the side or
  // the top it would leave the windows 0 pixels high or under the bar.
  const bool alongBottom = taskBar.width() > taskBar.height() && taskBar.top > screen.height / 2;
  ScreenRect area{0, 0, screen.width, screen.height - taskBar.height()};
  if (!alongBottom) {
    area = workArea;
    if (area.width() <= 0 || area.height() <= 0) area = {0, 0, screen.width, screen.height};
  }
  const int restWidth = std::max(0, area.width() - mainWidth);
  Placement p;
  if (right) {
    p.main = {area.right - mainWidth, area.top, area.right, area.bottom};
    p.rest = {area.left, area.top, area.left + restWidth, area.bottom};
  } else {
    p.main = {area.left, area.top, area.left + mainWidth, area.bottom};
    p.rest = {area.left + mainWidth, area.top, area.left + mainWidth + restWidth, area.bottom};
  }
  return p;
}

namespace {

void place(Desktop& desktop, WindowId w, const ScreenRect& r) {
  desktop.showRestored(w);
  if (desktop.isIconic(w)) desktop.restore(w);
  desktop.placeWindow(w, r);
}

}  // namespace

void placeWindows(bool right, WindowId mainWnd, Desktop& desktop, PlacementTargets t) {
  const WindowId taskBar = desktop.findWindowByClass(kTaskBarClass);
  if (taskBar == kNoWindow) return;
  const Placement p = placementGeometry(right, desktop.screenSize(mainWnd), desktop.windowRect(taskBar),
                                        desktop.workArea(), desktop.windowRect(mainWnd).width());
  desktop.placeWindow(mainWnd, p.main);

  const WindowId cad = t.cad.activate(t.progId).window;
  if (cad != kNoWindow && desktop.isWindow(cad)) place(desktop, cad, p.rest);

  t.editor.getEditorMainWinHandle(t.editorIndex);
  if (const WindowId editor = t.editor.editorWnd(); editor != kNoWindow) {
    place(desktop, editor, p.rest);
    desktop.setForeground(editor);
  }

  if (const WindowId help = t.findHelpWindow(); help != kNoWindow) place(desktop, help, p.rest);
}

}  // namespace quenlit
