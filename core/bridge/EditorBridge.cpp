#include "bridge/EditorBridge.h"

namespace quenlit {

namespace {

// Each editor's own go-to-line command, as its Japanese user interface has it.
constexpr DialogEditor kNotepad{u"Notepad", 'G', u"行へ移動", nullptr, u"Edit", {u"移動", nullptr}, false};
constexpr DialogEditor kNotepadPP{
    u"Notepad++", 'G', u"指定位置へジャンプ...", nullptr, u"Edit", {u"行(&L)", u"ジャンプ"}, true};
constexpr DialogEditor kMery{u"TChildForm", 'G', nullptr, u"TGoToLineForm", u"TSpinEditEx", {u"OK", nullptr}, true};
constexpr DialogEditor kTeraPad{
    u"TTeraPadMainForm", 'J', nullptr, u"TFormJump", u"TComboBox", {u"OK", nullptr}, true};

// The file a title names: the text before a " - ", trimmed, and for the editors
// whose title shows the path its file-name part. A name may hold " - " itself
// (Windows names a copy "name - コピー.lsp"), and so may a folder of the path:
// the " - " that ends the loaded file's name counts, else the first one. The
// comparison stays exact and case-sensitive.
Text titleFileName(TextView title, TextView lspFileName, bool hasPath) {
  auto nameBefore = [&](size_t dash) {
    Text name = trim(title.substr(0, dash));
    return hasPath ? fileNamePart(name, u"\\:") : name;  // the part after the last "\" or ":"
  };
  const size_t first = title.find(u" - ");
  if (first == TextView::npos) return {};
  for (size_t dash = first; dash != TextView::npos; dash = title.find(u" - ", dash + 1))
    if (Text name = nameBefore(dash); name == lspFileName) return name;
  return nameBefore(first);
}

}  // namespace

const DialogEditor* dialogEditor(int editorIndex) {
  switch (editorIndex) {
    case kEditorNotepad: return &kNotepad;
    case kEditorNotepadPP: return &kNotepadPP;
    case kEditorMery: return &kMery;
    case kEditorTeraPad: return &kTeraPad;
    default: return nullptr;
  }
}

void EditorBridge::sendEditorLineNo(int editorIndex, bool ctrlFlag, int lineNo, TextView lspFileName) {
  // Every caller passes a line of the file; anything else would type a sign.
  if (lineNo < 1) return;
  if (editorIndex == kEditorVSCode)
    sendLineNoVSCode(ctrlFlag, lineNo, lspFileName);
  else if (const DialogEditor* editor = dialogEditor(editorIndex))
    sendLineNoDialogEditor(*editor, lineNo, lspFileName);
}

void EditorBridge::sendLineNoDialogEditor(const DialogEditor& e, int lineNo, TextView lspFileName) {
  editorFileName_.clear();
  editorWnd_ = kNoWindow;
  const WindowId main = desktop_.findWindowByClass(e.mainClass);
  editorMainWnd_ = main;
  if (main == kNoWindow) return;

  Text title = desktop_.windowTitle(main);
  if (title.empty()) return;
  if (size_t star = title.find(u'*'); star != Text::npos) title.erase(star, 1);  // "modified" mark
  if (title.find(u" - ") == Text::npos) return;
  const Text name = titleFileName(title, lspFileName, e.titleHasPath);
  if (!hasLspExtension(name)) return;
  editorWnd_ = main;
  editorFileName_ = name;
  // Another file in the editor: nothing is typed.
  if (editorFileName_.empty() || editorFileName_ != lspFileName) return;

  if (!bringToFront(main)) return;
  pressKey(kVkControl);
  pressKey(vkOf(e.shortcut));
  releaseKey(vkOf(e.shortcut));
  releaseKey(kVkControl);
  desktop_.sleep(kWaitAfterShortcut);

  // No polling: a dialog that opens later stays open for the user.
  const WindowId dialog = e.dialogTitle ? desktop_.findWindowByTitle(e.dialogTitle)
                                        : desktop_.findWindowByClass(e.dialogClass);
  if (dialog == kNoWindow) return;
  // A dialog without the line field is not the one asked for; its buttons are
  // left alone.
  const WindowId field = desktop_.findChildByClass(dialog, e.fieldClass);
  if (field == kNoWindow) return;
  desktop_.setText(field, toText(lineNo));
  for (const char16_t* caption : e.buttons) {
    if (!caption) break;
    if (const WindowId button = desktop_.findChildByCaption(dialog, caption); button != kNoWindow)
      desktop_.postClick(button);
  }
}

void EditorBridge::sendLineNoVSCode(bool ctrlFlag, int lineNo, TextView lspFileName) {
  editorFileName_.clear();
  editorWnd_ = kNoWindow;
  searchVSCodeWindow();
  editorMainWnd_ = editorWnd_;
  if (editorWnd_ != kNoWindow) {
    // The title is "● name - folder - Visual Studio Code"; the dot marks unsaved changes.
    const Text title = removeChar(desktop_.windowTitle(editorWnd_), u'●');
    editorFileName_ = titleFileName(title, lspFileName, false);
  }
  if (editorFileName_.empty() || editorFileName_ != lspFileName) return;
  if (!bringToFront(editorWnd_)) return;

  // An open input method would take the digits as composition.
  if (const WindowId ime = desktop_.defaultImeWindow(editorWnd_); ime != kNoWindow && desktop_.imeOpen(ime))
    desktop_.closeIme(ime);
  const unsigned modifier = ctrlFlag ? kVkControl : kVkMenu;
  pressKey(modifier);
  pressKey(vkOf('G'));
  releaseKey(vkOf('G'));
  releaseKey(modifier);
  desktop_.sleep(kWaitAfterShortcut);
  typeNumber(lineNo);
  pressKey(kVkReturn);
  releaseKey(kVkReturn);
}

bool EditorBridge::findVSCodeWindow(WindowId w) {
  // A title that begins with the product's name shows no file.
  const size_t at = desktop_.windowTitle(w).find(kVSCodeTitleMark);
  if (at == Text::npos || at == 0) return true;
  if (desktop_.className(w) != kVSCodeClass) return true;
  editorWnd_ = w;
  return false;
}

void EditorBridge::searchVSCodeWindow() {
  desktop_.enumWindows([this](WindowId w) { return findVSCodeWindow(w); });
}

void EditorBridge::getEditorMainWinHandle(int editorIndex) {
  if (editorIndex == kEditorVSCode) {
    // Not cleared first: without a match the last window found is kept.
    searchVSCodeWindow();
  } else if (const DialogEditor* e = dialogEditor(editorIndex)) {
    editorWnd_ = desktop_.findWindowByClass(e->mainClass);
  }
  editorMainWnd_ = editorWnd_;
}

void EditorBridge::Button9Click(int editorIndex) {
  getEditorMainWinHandle(editorIndex);
  if (!editorWindowLive()) return;
  if (desktop_.isIconic(editorWnd_)) desktop_.restore(editorWnd_);
  desktop_.setForeground(editorWnd_);
}

bool EditorBridge::bringToFront(WindowId w) {
  if (desktop_.isIconic(w)) {
    desktop_.restore(w);
    desktop_.sleep(kWaitAfterRestore);
  }
  desktop_.setForeground(w);
  desktop_.sleep(kWaitAfterForeground);
  // Keys go to whatever window is in front: none are sent unless it is the editor.
  return desktop_.foreground() == w;
}

void EditorBridge::pressKey(unsigned vk) { desktop_.keyEvent(vk, desktop_.scanCode(vk), false); }
void EditorBridge::releaseKey(unsigned vk) { desktop_.keyEvent(vk, desktop_.scanCode(vk), true); }

void EditorBridge::typeNumber(int n) {
  for (char16_t digit : toText(n)) {
    pressKey(unsigned(digit));
    releaseKey(unsigned(digit));
  }
}

}  // namespace quenlit
