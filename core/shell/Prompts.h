// What asks the user or tells the user something: message boxes, the history and
// target CAD dialogs, and the clipboard.
#pragma once

#include <optional>

#include "bridge/TargetCadForm.h"
#include "shell/FileHistory.h"
#include "text/File.h"

namespace quenlit {

struct Question {
  Text text;                 // "\n" breaks lines
  Text title;
  bool ownedByPane = false;  // owned by the result pane instead of the main window
};

class Prompts {
 public:
  virtual ~Prompts() = default;
  // The platform's error box for a file that could not be read or written.
  virtual void showFileError(TextView path, const FileError& error) = 0;
  virtual void showMessage(TextView text) = 0;      // plain, OK, titled with the application title
  virtual void showInformation(TextView text) = 0;  // information icon, OK
  // A confirmation with the question icon and the buttons Yes and No; true on Yes.
  virtual bool askYesNo(const Question& question) = 0;
  // Fills the history dialog with `entries` and shows it modally above the main
  // window, which leaves the always-on-top layer meanwhile.
  virtual HistoryChoice showHistoryDialog(const TextList& entries) = 0;
  // Shows the target CAD dialog modally, its events going to `form`, with the
  // dialog in the always-on-top layer instead of the main window meanwhile.
  virtual void showTargetCadDialog(TargetCadForm& form, TextView progId) = 0;
  // Plain Unicode text on the clipboard; false when the clipboard could not be had.
  virtual bool copyToClipboard(TextView text) = 0;
};

}  // namespace quenlit
