// The CAD bridge: brings the running CAD program to the front, loads the current
// file into it and sends it commands, through its automation object. A CAD that
// is not running, refuses a call or lacks a member ends the action silently.
#pragma once

#include <optional>

#include "bridge/Automation.h"
#include "bridge/Desktop.h"
#include "text/Text.h"

namespace quenlit {

inline constexpr int kWaitAfterCadRestore = 500;
inline constexpr int kWaitAfterCadForeground = 100;
inline constexpr int kWaitAfterEscape = 5;

// (load "C:\\work\\a.lsp")(princ) and CR: every "\" of the path doubled.
Text loadText(TextView fullPath);
// The command of an outline or jump list item: nothing unless the item begins
// with "C:" (any case); else the text from its third character on, trimmed, + CR.
std::optional<Text> commandText(TextView itemText);

// How far an action got. `window` is the CAD's window as read for the
// foreground request; none when the activation did not get that far.
struct CadOutcome {
  bool activated = false;  // the whole activation ran
  bool sent = false;       // SendCommand was called and succeeded
  WindowId window = kNoWindow;
};

class Cad {
 public:
  Cad(Automation& automation, Desktop& desktop) : automation_(automation), desktop_(desktop) {}

  // The CAD's window restored, brought to the front and, when it came, given
  // one Esc to leave whatever prompt it was in.
  CadOutcome activate(TextView progId);
  // Activation, then ActiveDocument.SendCommand(text).
  CadOutcome sendText(TextView progId, TextView text);
  CadOutcome load(TextView progId, TextView lspFullName) { return sendText(progId, loadText(lspFullName)); }
  // Nothing at all for an item that is not a command.
  CadOutcome sendCommand(TextView progId, TextView itemText);

 private:
  CadOutcome activate(TextView progId, std::unique_ptr<AutomationObject>& app);
  std::optional<WindowId> readWindow(AutomationObject& app);

  Automation& automation_;
  Desktop& desktop_;
};

}  // namespace quenlit
