// TForm25's jumps and copies: the editor bridge calls, the jump list, the result
// pane's way back to the source, and the outline's copies to the clipboard.
#include "app/MainForm.h"
#include "reports/FunctionCopy.h"
#include "reports/PaneNavigation.h"
#include "shell/JumpList.h"

namespace quenlit {

// ---------------------------------------------------------------- the editor

void TForm25::sendEditorLineNo(bool ctrlFlag, int lineNo) {
  editor_.sendEditorLineNo(view_.options.editorIndex(), ctrlFlag, lineNo, lspFileName_);
}

void TForm25::getEditorMainWinHandle() { editor_.getEditorMainWinHandle(view_.options.editorIndex()); }

void TForm25::Button9Click() { editor_.Button9Click(view_.options.editorIndex()); }

// ---------------------------------------------------------------- the jump list

void TForm25::showJumpList(std::optional<size_t> selected) {
  JumpListBox& box = view_.shell.jumpList();
  box.show(jumpList_);
  box.select(selected && *selected < jumpList_.size() ? selected : std::nullopt);
}

void TForm25::addToJumpList(bool atTop) {
  auto row = selectedRow();
  if (!row) return;
  // The entry that was selected stays selected, wherever the new one goes.
  auto selected = view_.shell.jumpList().selectedIndex();
  if (!addJumpEntry(jumpList_, rows_[*row], atTop)) return;
  if (selected && atTop) ++*selected;
  showJumpList(selected);
}

void TForm25::N6Click() { addToJumpList(false); }
void TForm25::N5Click() { addToJumpList(true); }

void TForm25::N7Click() {
  jumpList_.clear();
  showJumpList(std::nullopt);
}

void TForm25::N13Click() { N7Click(); }

void TForm25::N8Click() {
  if (auto to = moveJumpEntry(jumpList_, view_.shell.jumpList().selectedIndex(), -1)) showJumpList(to);
}

void TForm25::N9Click() {
  if (auto to = moveJumpEntry(jumpList_, view_.shell.jumpList().selectedIndex(), +1)) showJumpList(to);
}

void TForm25::N10Click() {
  auto sel = view_.shell.jumpList().selectedIndex();
  if (!sel || *sel >= jumpList_.size()) return;
  jumpList_.erase(jumpList_.begin() + long(*sel));
  showJumpList(std::nullopt);
}

// The jump list jumps whether or not "Jump" is ticked.
void TForm25::ListBox1DblClick() {
  auto sel = view_.shell.jumpList().selectedIndex();
  if (sel && *sel < jumpList_.size()) sendEditorLineNo(ctrlG2_, jumpList_[*sel].line);
}

bool TForm25::ListBox1KeyPress(char16_t key) {
  if (key != u'\r') return false;
  ListBox1DblClick();
  return true;
}

void TForm25::ListBox1DragDrop(std::optional<size_t> from, std::optional<size_t> to) {
  if (auto at = dropJumpEntry(jumpList_, from, to)) showJumpList(at);
}

// ---------------------------------------------------------------- the result pane

void TForm25::Memo2DblClick() {
  const DoubleClickOutcome outcome = resolvePaneDoubleClick(view_.pane.pane(), view_.pane.paneSelection(), view_.options.jumpChecked(),
                                                            rows_, lspSL_.lines, view_.source.progress());
  if (outcome.selection) view_.pane.setPaneSelection(*outcome.selection);
  if (outcome.jumpLine) sendEditorLineNo(ctrlG2_, *outcome.jumpLine);
}

void TForm25::N16Click() {
  if (auto line = resolveSelectedFunction(selectedText(view_.pane.pane(), view_.pane.paneSelection()), rows_))
    sendEditorLineNo(ctrlG2_, *line);
}

// ---------------------------------------------------------------- copies

void TForm25::N1Click() {
  auto sel = selectedRow();
  if (!sel) return;
  if (auto call = functionCallText(rows_[*sel]))
    if (!view_.prompts.copyToClipboard(*call)) view_.prompts.showMessage(kClipboardFailedMessage);
}

void TForm25::N14Click() {
  auto sel = selectedRow();
  if (!sel) return;
  auto copy = copyFunctionRange(lspSL_.lines, rows_, *sel, view_.source.progress());
  if (!copy) return;
  if (copy->ok && !view_.prompts.copyToClipboard(copy->clipboard)) {
    view_.prompts.showMessage(kClipboardFailedMessage);
    return;
  }
  view_.prompts.showMessage(copy->message);
}

}  // namespace quenlit
