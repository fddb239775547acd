#include "shell/HelpWindow.h"

namespace quenlit {

void findHelpWindow(Desktop& desktop, WindowId& helpWnd) {
  desktop.enumWindows([&](WindowId w) {
    if (!startsWith(desktop.windowTitle(w), kHelpTitlePrefix)) return true;
    helpWnd = w;
    return false;
  });
}

}  // namespace quenlit
