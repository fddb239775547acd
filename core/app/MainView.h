// What the main window's logic needs from the window: its controls, its dialogs
// and message boxes. The Windows program implements these over real controls; the
// tests use recording fakes.
#pragma once

#include <optional>
#include <vector>

#include "bridge/Desktop.h"
#include "bridge/TargetCadForm.h"
#include "pane/ResultPane.h"
#include "shell/SaveWatch.h"
#include "reports/PaneNavigation.h"
#include "shell/JumpList.h"
#include "shell/WindowLayout.h"
#include "source/Outline.h"
#include "source/Progress.h"
#include "source/SourceFile.h"
#include "text/Text.h"

namespace quenlit {

// TreeView1. Rows are addressed by their index in the order of the fully expanded
// tree, which is the order they were given in.
class OutlineTree {
 public:
  virtual ~OutlineTree() = default;
  virtual void beginUpdate() = 0;
  virtual void endUpdate() = 0;
  // Replaces every row; every node shows expanded, the first row at the top.
  virtual void setRows(const std::vector<OutlineRow>& rows) = 0;
  virtual std::optional<size_t> selectedIndex() const = 0;
  virtual std::optional<size_t> topIndex() const = 0;  // the first visible row
  virtual void select(size_t index) = 0;
  virtual void setTopIndex(size_t index) = 0;
  virtual void setFocus() = 0;
};

// Modal results of the history dialog.
enum ModalResult { kMrNone = 0, kMrOk = 1, kMrCancel = 2, kMrYes = 6 };

struct HistoryChoice {
  int result = kMrCancel;
  std::optional<size_t> selected;  // the entry selected when the dialog closed
};

struct Question {
  Text text;                 // "\n" breaks lines
  Text title;
  bool ownedByPane = false;  // owned by the result pane instead of the main window
};

class MainView {
 public:
  virtual ~MainView() = default;

  virtual ResultPane& pane() = 0;        // Memo2
  virtual ProgressBar& progress() = 0;   // ProgressBar1
  virtual OutlineTree& tree() = 0;       // TreeView1
  virtual void scrollPaneTop() = 0;      // scrollMemoTop
  virtual JumpListBox& jumpList() = 0;   // ListBox1
  // The pane's selection, and putting it elsewhere.
  virtual PaneSelection paneSelection() const = 0;
  virtual void setPaneSelection(const PaneSelection& selection) = 0;

  virtual void setCaption(TextView caption) = 0;
  virtual WindowId mainWindow() const = 0;  // this window, as the desktop knows it
  // The window's rectangle on the screen (its restored one when minimized) and
  // the heights of the panels the splitters move.
  virtual ScreenRect windowRect() const = 0;
  virtual PanelHeights panelHeights() const = 0;
  // The work area of the screen that holds most of `rect`.
  virtual ScreenRect workAreaFor(const ScreenRect& rect) const = 0;
  // Moves the window to `rect` (where it stands when there is none) and sets the panels.
  virtual void placeWindow(const std::optional<ScreenRect>& rect, const PanelHeights& panels) = 0;
  virtual void setFileNameText(TextView name) = 0;   // Edit1
  virtual void setEncodingLabel(TextView label) = 0; // Label1
  virtual void acceptDroppedFiles() = 0;

  // Controls the settings are kept in. Setting a check box here never runs its
  // click handler; the logic decides when a handler runs.
  virtual int editorIndex() const = 0;  // -1 when no item is selected
  virtual void setEditorIndex(int index) = 0;
  virtual bool jumpChecked() const = 0;
  virtual void setJumpChecked(bool checked) = 0;
  virtual bool reloadChecked() const = 0;
  virtual void setReloadChecked(bool checked) = 0;
  virtual void showKeyChoice(bool ctrlG) = 0;  // CTRLG2/CTRLG4/ALTG1/ALTG2 and the two parent captions

  virtual Text searchText() const = 0;  // Edit2
  virtual bool orderMode() const = 0;   // CheckBox3

  virtual void setOpenDialogFileName(TextView path) = 0;
  virtual std::optional<Text> runOpenDialog() = 0;  // nothing when cancelled

  // The platform's error box for a file that could not be read or written.
  virtual void showFileError(TextView path, const FileError& error) = 0;
  virtual void showMessage(TextView text) = 0;       // plain, OK, titled with the application title
  virtual void showInformation(TextView text) = 0;   // information icon, OK
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
  // The wait cursor, from the start of a load or a check to its end.
  virtual void setBusy(bool busy) = 0;

  virtual void processMessages() = 0;
  virtual void sleepMs(int ms) = 0;
  // Has the shell open the editor on a file ("Notepad" with the path as parameter).
  virtual void openInNotepad(TextView path) = 0;
  // Has the shell open an address with its "open" verb (the browser for a web page).
  virtual void openAddress(TextView address) = 0;

  // The main window as the desktop knows it, and Timer1 (200 ms, off at start).
  virtual WindowId windowId() const = 0;
  virtual Timer& timer1() = 0;
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
