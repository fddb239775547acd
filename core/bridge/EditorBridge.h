// The editor line jump: finds the external editor's window, checks that its title
// names the current file, brings it to the front and drives its own go-to-line
// command with synthesized keys and control messages.
#pragma once

#include "bridge/Desktop.h"
#include "text/Text.h"

namespace quenlit {

// The items of the editor selection (ComboBox1); any other index means none.
enum EditorIndex : int {
  kEditorVSCode = 0,
  kEditorNotepad = 1,
  kEditorNotepadPP = 2,
  kEditorMery = 3,
  kEditorTeraPad = 4,
};

// The fixed waits, in milliseconds.
inline constexpr int kWaitAfterRestore = 200;
inline constexpr int kWaitAfterForeground = 100;
inline constexpr int kWaitAfterShortcut = 200;

inline constexpr char16_t kVSCodeClass[] = u"Chrome_WidgetWin_1";
inline constexpr char16_t kVSCodeTitleMark[] = u"Visual Studio Code";

// What tells one dialog editor from another: its main window's class, the
// go-to-line shortcut (with Ctrl), the go-to-line dialog and what to fill in.
struct DialogEditor {
  const char16_t* mainClass;
  char shortcut;
  const char16_t* dialogTitle;  // found by title when set,
  const char16_t* dialogClass;  // else by class
  const char16_t* fieldClass;
  const char16_t* buttons[2];   // clicked in order; null ends the list
  bool titleHasPath;            // the title shows the full path, not only the name
};

// The dialog editor of a selection index; nothing for VS Code and for no editor.
const DialogEditor* dialogEditor(int editorIndex);

class EditorBridge {
 public:
  explicit EditorBridge(Desktop& desktop) : desktop_(desktop) {}

  // Makes the editor of `editorIndex` show the 1-based `lineNo` of the file named
  // `lspFileName`. `ctrlFlag` opens VS Code's input with Ctrl+G, else Alt+G.
  void sendEditorLineNo(int editorIndex, bool ctrlFlag, int lineNo, TextView lspFileName);
  void sendLineNoDialogEditor(const DialogEditor& editor, int lineNo, TextView lspFileName);
  void sendLineNoVSCode(bool ctrlFlag, int lineNo, TextView lspFileName);

  // Looks for the editor's main window without jumping and without a title check.
  void getEditorMainWinHandle(int editorIndex);
  // The "E" button: the editor to the front.
  void Button9Click(int editorIndex);

  bool editorWindowLive() const { return editorWnd_ != kNoWindow && desktop_.isWindow(editorWnd_); }
  WindowId editorWnd() const { return editorWnd_; }
  WindowId editorMainWnd() const { return editorMainWnd_; }
  const Text& editorFileName() const { return editorFileName_; }

 private:
  // One step of the window enumeration; false ends it.
  bool findVSCodeWindow(WindowId w);
  void searchVSCodeWindow();
  bool bringToFront(WindowId w);
  void pressKey(unsigned vk);
  void releaseKey(unsigned vk);
  void typeNumber(int n);

  Desktop& desktop_;
  WindowId editorWnd_ = kNoWindow;
  WindowId editorMainWnd_ = kNoWindow;
  Text editorFileName_;
};

}  // namespace quenlit
