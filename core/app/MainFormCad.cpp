// TForm25's CAD side: loading the file into the CAD, sending it a command,
// choosing the target CAD, and placing the windows side by side. Every failure
// of the CAD ends the action without a message.
#include "app/MainForm.h"
#include "shell/WindowPlacement.h"

namespace quenlit {

void TForm25::Button3Click() {
  if (!fileExists(current_.fullName())) return;  // the CAD is not even contacted
  cad_.load(progId_, current_.fullName());
}

void TForm25::Button3MouseDown(bool rightButton) {
  if (rightButton) CAD3Click();
}

void TForm25::Button8Click() { cad_.activate(progId_); }

// Only the definitions below the two group rows can be commands.
void TForm25::CAD1Click() {
  auto sel = selectedRow();
  if (!sel || rows_[*sel].level < 1) return;
  cad_.sendCommand(progId_, rows_[*sel].text);
}

void TForm25::CAD2Click() {
  const JumpEntry* entry = jumps_.selected();
  cad_.sendCommand(progId_, entry ? entry->text : Text());
}

// The dialog applies its own list changes; OK also brings a new target.
void TForm25::CAD3Click() {
  view_.prompts.showTargetCadDialog(targetForm_, progId_);
  if (auto choice = targetForm_.takeChoice()) {
    progId_ = std::move(choice->progId);
    view_.shell.setCaption(choice->caption);
  }
}

void TForm25::SpeedButton4Click(bool right) {
  placeWindows(right, view_.shell.windowId(), desktop_,
               {cad_, progId_, editor_, view_.options.editorIndex(), [this] { return watch_.findHelpWindow(); }});
}

}  // namespace quenlit
