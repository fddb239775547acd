// The "<" and ">" buttons: the main window as a strip at one screen edge, the
// CAD, the editor and the help window filling the rest of the screen.
#pragma once

#include <functional>
#include <optional>

#include "bridge/Cad.h"
#include "bridge/Desktop.h"
#include "bridge/EditorBridge.h"

namespace quenlit {

inline constexpr TextView kTaskBarClass = u"Shell_TrayWnd";

struct Placement {
  ScreenRect main;  // the main window
  ScreenRect rest;  // the CAD, the editor and the help window
};

// Where the windows go for a main window `mainWidth` wide, at the right edge or
// the left. With the task bar along the bottom the windows take the screen's
// full height less the bar's; with a bar docked elsewhere (whose height would
// be the screen's) they take the work area the system leaves beside it.
Placement placementGeometry(bool right, ScreenSize screen, const ScreenRect& taskBar, const ScreenRect& workArea,
                            int mainWidth);

// What the placement moves besides the main window.
struct PlacementTargets {
  Cad& cad;
  TextView progId;
  EditorBridge& editor;
  int editorIndex;
  // HelpWnd, found afresh by its owner (the save watch); the last one found when none is open.
  std::function<WindowId()> findHelpWindow;
};

// SpeedButton4Click. Does nothing without a task bar window. The editor ends in
// front; a CAD that is not running is skipped silently.
void placeWindows(bool right, WindowId mainWnd, Desktop& desktop, PlacementTargets targets);

}  // namespace quenlit
