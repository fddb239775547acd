// The main window as TForm25 sees it: one seam per subsystem, each beside its
// model. The Windows program implements them all over real controls; a test
// fakes the seams it drives.
#pragma once

#include "app/OptionControls.h"
#include "reports/PaneView.h"
#include "shell/Prompts.h"
#include "shell/ShellView.h"
#include "source/SourceView.h"

namespace quenlit {

struct MainViews {
  SourceView& source;
  PaneView& pane;
  ShellView& shell;
  Prompts& prompts;
  OptionControls& options;
};

// The pieces of the platform the form only switches on and off: the keyboard
// hook with its message filter entry, and the COM message filter. (The editor
// and CAD bridges work on the Desktop and Automation the window gives the form.)
class AppBridges {
 public:
  virtual ~AppBridges() = default;
  virtual void allowHookMessage() {}                  // ChangeWindowMessageFilter(0x806E, add)
  virtual void installKeyboardHook() {}
  virtual void removeKeyboardHook() {}
  virtual void registerMessageFilter() {}
  virtual void revokeMessageFilter() {}
};

}  // namespace quenlit
