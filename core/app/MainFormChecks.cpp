// TForm25's checks and reports: each runs on the current file as it is on disk
// now, so each starts with a reload.
#include "app/MainForm.h"
#include "checks/BuiltinList.h"
#include "checks/ExclusionList.h"
#include "checks/FunctionCheck.h"
#include "checks/ParenCheck.h"
#include "checks/VariableCheck.h"
#include "reports/LineDeletion.h"
#include "reports/LineSearch.h"
#include "text/TextFile.h"

namespace quenlit {

namespace fs = std::filesystem;

// ---------------------------------------------------------------- checks

// Each check brackets its reload and its report in one pane update: the report
// the reload writes is replaced at once, and a large pane is written only once.
void TForm25::Button2Click() {
  ParenCheckResult result;
  {
    Busy busy(*this);
    PaneUpdate update(view_.pane.pane());
    reLoad();
    result = runParenCheck(current_.lines(), view_.pane.pane(), view_.source.progress());
  }
  if (result.scrollTop) view_.pane.scrollPaneTop();
  if (!result.message) return;
  // Shown once the pane shows the listing, so it can be read beside the message.
  getEditorMainWinHandle();
  const ParenMessage& m = *result.message;
  if (editor_.editorWindowLive()) {
    if (view_.prompts.askYesNo(Question{m.confirmText, Text(kConfirmTitle)}))
      sendEditorLineNo(ctrlG2_, m.jumpLine);
  } else {
    view_.prompts.showMessage(m.plainText);
  }
}

void TForm25::Button4Click() {
  {
    Busy busy(*this);
    PaneUpdate update(view_.pane.pane());
    reLoad();
    runVariableCheck();
  }
  view_.pane.scrollPaneTop();
}

void TForm25::Button5Click() {
  {
    Busy busy(*this);
    PaneUpdate update(view_.pane.pane());
    reLoad();
    view_.pane.pane().clear();
    makeLspIndex(current_.lines(), current_.fileName(), view_.pane.pane(), view_.source.progress(), clock_);
  }
  view_.pane.scrollPaneTop();
}

void TForm25::Button6Click() {
  if (!loadJogaiList()) return;
  ResultPane& pane = view_.pane.pane();
  {
    PaneUpdate update(pane);
    pane.clear();
    for (const auto& word : jogaiSL_) pane.addLine(word);
  }
  if (!view_.prompts.askYesNo(Question{Text(kJogaiQuestion), Text(kConfirmTitle)})) return;
  const fs::path file = exeDir() / kJogaiFileName;
  std::error_code ec;
  if (!fs::exists(file, ec)) {
    FileError error;
    if (!writeFileAtomically(file, "", error)) {
      view_.prompts.showFileError(textFromPath(file), error);
      return;
    }
    desktop_.sleep(100);
  }
  if (fs::exists(file, ec)) view_.shell.openInNotepad(textFromPath(file));
}

void TForm25::Button7Click() {
  // Read first, so that its error box does not stand over a pane whose drawing is off.
  BuiltinListFile builtins = loadBuiltinList(exeDir());
  if (!builtins.error.reason.empty())
    view_.prompts.showFileError(textFromPath(exeDir() / kBuiltinListFileName), builtins.error);
  {
    Busy busy(*this);
    PaneUpdate update(view_.pane.pane());
    reLoad();
    runFunctionCheck(current_.lines(), builtins.list, view_.pane.pane(), view_.source.progress());
  }
  view_.pane.scrollPaneTop();
}

void TForm25::Button11Click() {
  Busy busy(*this);
  runLineSearch(current_.lines(), view_.pane.searchText(), view_.pane.orderMode(), view_.pane.pane());
}

bool TForm25::Edit2KeyPress(char16_t key) {
  if (key != u'\r') return false;
  Button11Click();
  return true;
}

void TForm25::Button12Click() {
  const Text searchText = view_.pane.searchText();
  const DeletionCheck check = checkLineDeletion(searchText, view_.pane.pane());
  switch (check.step) {
    case DeletionCheck::kNothing:
      return;
    case DeletionCheck::kRefused:
      view_.prompts.showMessage(check.message);
      return;
    case DeletionCheck::kConfirm:
      break;
  }
  if (!view_.prompts.askYesNo(Question{check.question, check.title, true})) return;
  DeletionResult result;
  {
    Busy busy(*this);
    result = runLineDeletion(current_.source(), pathFromText(current_.fullName()), searchText, view_.pane.orderMode(), view_.pane.pane());
  }
  if (result.ok) return;
  if (!result.failedPath.empty())
    view_.prompts.showFileError(textFromPath(result.failedPath), result.error);
  else if (!result.message.empty())
    view_.prompts.showMessage(result.message);
}

}  // namespace quenlit
