#include "app/MainForm.h"

#include <utility>

#include "app/LoadRules.h"
#include "app/Settings.h"
#include "bridge/TargetCadForm.h"
#include "text/TextFile.h"
#include "checks/BuiltinList.h"
#include "checks/ExclusionList.h"
#include "checks/FunctionCheck.h"
#include "checks/ParenCheck.h"
#include "checks/VariableCheck.h"
#include "reports/Description.h"
#include "reports/LineDeletion.h"
#include "reports/LineSearch.h"

namespace quenlit {

namespace fs = std::filesystem;

TForm25::TForm25(const MainViews& view, AppBridges& bridges, Desktop& desktop, Automation& automation, fs::path exePath)
    : view_(view),
      bridges_(bridges),
      desktop_(desktop),
      editor_(desktop),
      cad_(automation, desktop),
      targetForm_(exePath.parent_path() / pathFromText(kTargetListFileName)),
      exePath_(std::move(exePath)),
      progId_(kDefaultProgId),
      watch_(desktop, view.shell, view.pane.pane(),
             {[this] { return view_.options.reloadChecked() ? editor_.editorMainWnd() : kNoWindow; },
              [this] { return isFileLocked(pathFromText(lspFullName_)); }}) {}

fs::path TForm25::besideExe(TextView name) const { return exeDir() / pathFromText(name); }

// ---------------------------------------------------------------- start and exit

void TForm25::FormCreate() {
  progId_ = Text(kDefaultProgId);
  loadJogaiList();
  // EditorMainWnd starts as none inside the editor bridge.

  FileError histError;
  if (!fileHistSL_.load(besideExe(kHistoryFileName), histError)) {
    // Kept unread rather than empty, so the first save does not overwrite it.
    historyUnread_ = true;
    view_.prompts.showFileError(textFromPath(besideExe(kHistoryFileName)), histError);
  }

  view_.source.setFileNameText(u"");
  view_.pane.pane().clear();
  view_.source.acceptDroppedFiles();
  bridges_.allowHookMessage();
  bridges_.installKeyboardHook();

  SettingsFile ini = loadSettingsFile(settingsPathFor(exePath_));
  const Settings s = readSettings(ini.doc, progId_);
  view_.options.setEditorIndex(s.targetEditor);
  view_.options.setJumpChecked(s.jumpCheck);
  // The box is checked as designed; only a different stored state runs its handler.
  if (view_.options.reloadChecked() != s.reloadCheck) {
    view_.options.setReloadChecked(s.reloadCheck);
    CheckBox2Click();
  }
  lspFullName_ = s.lspFullName;
  progId_ = s.progId;
  ctrlG2_ = s.ctrlG2Check;
  view_.options.showKeyChoice(ctrlG2_);
  std::optional<ScreenRect> place;
  if (s.window) place = clampToWorkArea(*s.window, view_.shell.workAreaFor(*s.window));
  view_.shell.placeWindow(place, s.panels);

  if (fileExists(lspFullName_)) {
    view_.source.setOpenDialogFileName(lspFullName_);
    reLoad();
    lspFileName_ = fileNamePart(lspFullName_);
    view_.source.setFileNameText(lspFileName_);
  } else {
    lspFullName_.clear();
  }

  if (auto caption = startupCaptionFromFile(besideExe(kTargetListFileName), progId_)) view_.shell.setCaption(*caption);
  bridges_.registerMessageFilter();
}

void TForm25::FormDestroy() {
  Settings s;
  s.targetEditor = view_.options.editorIndex();
  s.jumpCheck = view_.options.jumpChecked();
  s.reloadCheck = view_.options.reloadChecked();
  s.lspFullName = lspFullName_;
  s.progId = progId_;
  s.ctrlG2Check = ctrlG2_;
  s.window = view_.shell.windowRect();
  s.panels = view_.shell.panelHeights();
  // Written into the file as it is now, so keys of other programs survive.
  const fs::path iniPath = settingsPathFor(exePath_);
  SettingsFile ini = loadSettingsFile(iniPath);
  writeSettings(ini.doc, s);
  FileError error;
  if (!saveSettingsFile(iniPath, ini, error)) view_.prompts.showFileError(textFromPath(iniPath), error);

  makeFileHist();
  bridges_.revokeMessageFilter();
  bridges_.removeKeyboardHook();
}

bool TForm25::loadJogaiList() {
  JogaiLoad load = quenlit::loadJogaiList(exeDir());
  jogaiSL_ = std::move(load.list);
  if (load.error.empty()) return true;
  view_.prompts.showFileError(textFromPath(exeDir() / kJogaiFileName), FileError{load.error});
  return false;
}

// ---------------------------------------------------------------- loading

bool TForm25::loadInto(TextView path) {
  LoadOutcome outcome = loadLspFile(pathFromText(path), lspSL_, [this] { view_.shell.processMessages(); });
  view_.source.setEncodingLabel(outcome.label);
  if (!outcome.ok) view_.prompts.showFileError(path, outcome.error);
  return outcome.ok;
}

bool TForm25::makeFuncTree() {
  OutlineSource src = buildOutlineSource(lspSL_.lines, view_.source.progress());
  if (!src.table.empty()) {
    // The selected entry stays selected when it survives.
    const auto sel = view_.shell.jumpList().selectedIndex();
    const Text selText = sel && *sel < jumpList_.size() ? jumpList_[*sel].text : Text();
    refreshJumpList(jumpList_, src.table);
    std::optional<size_t> keep;
    for (size_t i = 0; i < jumpList_.size() && sel; ++i)
      if (jumpList_[i].text == selText) keep = i;
    showJumpList(keep);
  }
  std::vector<OutlineRow> rows = makeOutlineRows(src);
  view_.source.progress().setPosition(0);
  // A reload of an unchanged file (every check runs one) gives the rows the tree
  // shows already; rebuilding a large tree is what would make the check slow.
  if (treeShown_ && rows == rows_) return false;
  rows_ = std::move(rows);
  OutlineTree& tree = view_.source.tree();
  tree.beginUpdate();
  tree.setRows(rows_);
  tree.endUpdate();
  treeShown_ = true;
  return true;
}

void TForm25::runVariableCheck() {
  ResultPane& pane = view_.pane.pane();
  PaneUpdate update(pane);
  pane.clear();
  notUusedVariable(lspSL_.lines, jogaiSL_, pane, view_.source.progress(), true);
}

void TForm25::finishOpen() {
  lspFileName_ = fileNamePart(lspFullName_);
  view_.source.setFileNameText(lspFileName_);
  makeFuncTree();
  runVariableCheck();
  jumpList_.clear();
  showJumpList(std::nullopt);
}

void TForm25::Button1Click() {
  if (auto path = view_.source.runOpenDialog()) openChosenFile(*path);
}

void TForm25::openChosenFile(TextView path) {
  Busy busy(*this);
  if (!loadNewFile(path)) return;
  finishOpen();
}

bool TForm25::loadNewFile(TextView path) {
  // A file that cannot be read does not become the current file: the lines, the
  // outline and the pane still belong to the previous one, and every later check,
  // search or deletion must act on the file they came from.
  Text previous = std::exchange(lspFullName_, Text(path));
  if (loadInto(lspFullName_)) return true;
  lspFullName_ = std::move(previous);
  return false;
}

void TForm25::dropFiles(const TextList& paths) {
  auto taken = pickDroppedFile(paths, [](TextView p) { return isFileLocked(pathFromText(p)); });
  if (!taken) return;
  Busy busy(*this);
  const Text& path = paths[*taken];
  view_.source.setOpenDialogFileName(path);
  if (!loadNewFile(path)) return;
  finishOpen();
  makeFileHist();
}

void TForm25::reLoad() {
  if (!fileExists(lspFullName_)) return;
  Busy busy(*this);
  OutlineTree& tree = view_.source.tree();
  const OutlineMemory memory = rememberOutline(rows_, tree.selectedIndex(), tree.topIndex());
  const fs::path path = pathFromText(lspFullName_);
  for (int i = 0; i < 4 && isFileLocked(path); ++i) desktop_.sleep(50);
  if (!isFileLocked(path)) {
    if (!loadInto(lspFullName_)) return;
    makeFuncTree();
    tree.beginUpdate();
    const OutlineRestore restore = restoreOutline(rows_, memory);
    if (restore.top) tree.setTopIndex(*restore.top);
    if (restore.select) {
      tree.select(*restore.select);
      tree.setFocus();
    }
    tree.endUpdate();
    runVariableCheck();
  }
  makeFileHist();
}

// ---------------------------------------------------------------- history

bool TForm25::ensureHistoryLoaded() {
  if (!historyUnread_) return true;
  FileHistory fresh;
  FileError error;
  if (!fresh.load(besideExe(kHistoryFileName), error)) return false;
  fileHistSL_ = std::move(fresh);
  historyUnread_ = false;
  return true;
}

void TForm25::makeFileHist() {
  // While the history file cannot be read, it is not overwritten either.
  if (!ensureHistoryLoaded()) return;
  fileHistSL_.touch(lspFullName_);
  FileError error;
  if (!fileHistSL_.save(besideExe(kHistoryFileName), error) && !historyWriteReported_) {
    historyWriteReported_ = true;
    view_.prompts.showFileError(textFromPath(besideExe(kHistoryFileName)), error);
  }
}

void TForm25::Button10Click() {
  ensureHistoryLoaded();
  const HistoryChoice choice = view_.prompts.showHistoryDialog(fileHistSL_.entries());
  if (!choice.selected || *choice.selected >= fileHistSL_.entries().size()) return;
  const size_t index = *choice.selected;
  if (choice.result == kMrYes) {
    if (historyUnread_) return;
    TextList entries = fileHistSL_.entries();
    entries.erase(entries.begin() + long(index));
    fileHistSL_.setEntries(std::move(entries));
    FileError error;
    if (!fileHistSL_.save(besideExe(kHistoryFileName), error))
      view_.prompts.showFileError(textFromPath(besideExe(kHistoryFileName)), error);
    return;
  }
  if (choice.result != kMrOk) return;
  const Text path = fileHistSL_.entries()[index];
  if (!fileExists(path)) {
    view_.prompts.showMessage(kFileNotFound);
    return;
  }
  Busy busy(*this);
  if (!loadNewFile(path)) return;
  lspFileName_ = fileNamePart(lspFullName_);
  view_.source.setFileNameText(lspFileName_);
  makeFuncTree();
  runVariableCheck();
}

// ---------------------------------------------------------------- the outline

void TForm25::TreeView1Click() {
  std::optional<OutlineRow> row;
  if (auto sel = view_.source.tree().selectedIndex(); sel && *sel < rows_.size()) row = rows_[*sel];
  {
    PaneUpdate update(view_.pane.pane());
    writeFunctionDescription(view_.pane.pane(), lspSL_.lines, row);
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

// ---------------------------------------------------------------- checks

// Each check brackets its reload and its report in one pane update: the report
// the reload writes is replaced at once, and a large pane is written only once.
void TForm25::Button2Click() {
  ParenCheckResult result;
  {
    Busy busy(*this);
    PaneUpdate update(view_.pane.pane());
    reLoad();
    result = runParenCheck(lspSL_.lines, view_.pane.pane(), view_.source.progress());
  }
  if (result.scrollTop) view_.pane.scrollPaneTop();
  if (!result.message) return;
  // Shown once the pane shows the listing, so it can be read beside the message.
  getEditorMainWinHandle();
  const ParenMessage& m = *result.message;
  if (editor_.editorWindowLive()) {
    if (view_.prompts.askYesNo(Question{m.confirmText, Text(kParenConfirmTitle)}))
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
    makeLspIndex(lspSL_.lines, lspFileName_, view_.pane.pane(), view_.source.progress(), clock_);
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
  if (!builtins.error.empty())
    view_.prompts.showFileError(textFromPath(exeDir() / kBuiltinListFileName), FileError{builtins.error});
  {
    Busy busy(*this);
    PaneUpdate update(view_.pane.pane());
    reLoad();
    runFunctionCheck(lspSL_.lines, builtins.list, view_.pane.pane(), view_.source.progress());
  }
  view_.pane.scrollPaneTop();
}

void TForm25::Button11Click() {
  Busy busy(*this);
  runLineSearch(lspSL_.lines, view_.pane.searchText(), view_.pane.orderMode(), view_.pane.pane());
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
    result = runLineDeletion(lspSL_, pathFromText(lspFullName_), searchText, view_.pane.orderMode(), view_.pane.pane());
  }
  if (result.ok) return;
  if (!result.failedPath.empty())
    view_.prompts.showFileError(textFromPath(result.failedPath), result.error);
  else if (!result.message.empty())
    view_.prompts.showMessage(result.message);
}

// ---------------------------------------------------------------- small handlers

void TForm25::hookKey(unsigned keyMessage, unsigned vk, bool ctrlDown) { watch_.hookKey(keyMessage, vk, ctrlDown); }

void TForm25::Timer1Timer() {
  if (watch_.Timer1Timer()) reLoad();
}

void TForm25::CheckBox2Click() {
  if (view_.options.reloadChecked()) {
    getEditorMainWinHandle();
    bridges_.installKeyboardHook();
    reLoad();
  } else {
    bridges_.removeKeyboardHook();
  }
}

// Both pairs of menu items always agree, so a click on any of them switches the key.
void TForm25::CTRLG2Click() {
  ctrlG2_ = !ctrlG2_;
  view_.options.showKeyChoice(ctrlG2_);
}

void TForm25::ALTG1Click() { CTRLG2Click(); }

void TForm25::Edit1Click() {
  if (!lspFullName_.empty()) view_.prompts.showMessage(lspFullName_);
}

void TForm25::N18Click() { view_.prompts.showInformation(kAboutText); }

}  // namespace quenlit
