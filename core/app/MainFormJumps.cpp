// TForm25's outline and jumps: the outline's clicks, the editor bridge calls, the
// jump list, the result pane's way back to the source, and the outline's copies
// to the clipboard.
#include "app/MainForm.h"
#include "reports/Description.h"
#include "reports/FunctionCopy.h"
#include "reports/PaneNavigation.h"

namespace quenlit {

// ---------------------------------------------------------------- the outline

void TForm25::TreeView1Click() {
  std::optional<OutlineRow> row;
  if (auto sel = view_.source.tree().selectedIndex(); sel && *sel < rows_.size()) row = rows_[*sel];
  {
    PaneUpdate update(view_.pane.pane());
    writeFunctionDescription(view_.pane.pane(), current_.lines(), row);
  }
  view_.pane.scrollPaneTop();
}

std::optional<size_t> TForm25::selectedRow() const {
  auto sel = view_.source.tree().selectedIndex();
  return sel && *sel < rows_.size() ? sel : std::nullopt;
}

void TForm25::TreeView1DblClick() {
  if (!view_.options.jumpChecked()) return;
  if (auto sel = selectedRow(); sel && rows_[*sel].level > 0) sendEditorLineNo(ctrlG2_, rows_[*sel].line);
}

bool TForm25::TreeView1KeyPress(char16_t key) {
  if (!view_.options.jumpChecked() || key != u'\r') return false;
  if (auto sel = selectedRow(); sel && rows_[*sel].level > 0) sendEditorLineNo(ctrlG2_, rows_[*sel].line);
  return true;
}

// ---------------------------------------------------------------- the editor

void TForm25::sendEditorLineNo(bool ctrlFlag, int lineNo) {
  editor_.sendEditorLineNo(view_.options.editorIndex(), ctrlFlag, lineNo, current_.fileName());
}

void TForm25::getEditorMainWinHandle() { editor_.getEditorMainWinHandle(view_.options.editorIndex()); }

void TForm25::Button9Click() { editor_.Button9Click(view_.options.editorIndex()); }

// ---------------------------------------------------------------- the jump list

void TForm25::N6Click() {
  if (auto row = selectedRow()) jumps_.add(rows_[*row], false);
}

void TForm25::N5Click() {
  if (auto row = selectedRow()) jumps_.add(rows_[*row], true);
}

void TForm25::N7Click() { jumps_.clear(); }
void TForm25::N13Click() { jumps_.clear(); }
void TForm25::N8Click() { jumps_.moveSelected(-1); }
void TForm25::N9Click() { jumps_.moveSelected(+1); }
void TForm25::N10Click() { jumps_.removeSelected(); }

// The jump list jumps whether or not "Jump" is ticked.
void TForm25::ListBox1DblClick() {
  if (const JumpEntry* entry = jumps_.selected()) sendEditorLineNo(ctrlG2_, entry->line);
}

bool TForm25::ListBox1KeyPress(char16_t key) {
  if (key != u'\r') return false;
  ListBox1DblClick();
  return true;
}

void TForm25::ListBox1DragDrop(std::optional<size_t> from, std::optional<size_t> to) { jumps_.drop(from, to); }

// ---------------------------------------------------------------- the result pane

void TForm25::Memo2DblClick() {
  const DoubleClickOutcome outcome = resolvePaneDoubleClick(view_.pane.pane(), view_.pane.paneSelection(), view_.options.jumpChecked(),
                                                            rows_, current_.lines(), view_.source.progress());
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
  auto copy = copyFunctionRange(current_.lines(), rows_, *sel, view_.source.progress());
  if (!copy) return;
  if (copy->ok && !view_.prompts.copyToClipboard(copy->clipboard)) {
    view_.prompts.showMessage(kClipboardFailedMessage);
    return;
  }
  view_.prompts.showMessage(copy->message);
}

}  // namespace quenlit
