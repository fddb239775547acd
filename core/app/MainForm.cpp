#include "app/MainForm.h"

#include <utility>

#include "app/Settings.h"
#include "checks/ExclusionList.h"
#include "checks/VariableCheck.h"

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
      current_(view.source),
      progId_(kDefaultProgId),
      history_(exeDir() / pathFromText(kHistoryFileName), view.prompts),
      jumps_(view.shell.jumpList()),
      watch_(desktop, view.shell, view.pane.pane(),
             {[this] { return view_.options.reloadChecked() ? editor_.editorMainWnd() : kNoWindow; },
              [this] { return isFileLocked(pathFromText(current_.fullName())); }}) {}

// ---------------------------------------------------------------- start and exit

void TForm25::FormCreate() {
  progId_ = Text(kDefaultProgId);
  loadJogaiList();
  // EditorMainWnd starts as none inside the editor bridge.

  history_.start();

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
  progId_ = s.progId;
  ctrlG2_ = s.ctrlG2Check;
  view_.options.showKeyChoice(ctrlG2_);
  std::optional<ScreenRect> place;
  if (s.window) place = clampToWorkArea(*s.window, view_.shell.workAreaFor(*s.window));
  view_.shell.placeWindow(place, s.panels);

  if (fileExists(s.lspFullName)) {
    current_.rename(s.lspFullName);
    load(s.lspFullName, kStartupPath);
  }

  if (auto caption = startupCaptionFromFile(exeDir() / pathFromText(kTargetListFileName), progId_))
    view_.shell.setCaption(*caption);
  bridges_.registerMessageFilter();
}

void TForm25::FormDestroy() {
  Settings s;
  s.targetEditor = view_.options.editorIndex();
  s.jumpCheck = view_.options.jumpChecked();
  s.reloadCheck = view_.options.reloadChecked();
  s.lspFullName = current_.fullName();
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
  if (load.error.reason.empty()) return true;
  view_.prompts.showFileError(textFromPath(exeDir() / kJogaiFileName), load.error);
  return false;
}

// ---------------------------------------------------------------- loading

void TForm25::load(TextView path, const LoadPath& how) {
  // A reload of a file that is gone does nothing, the history included.
  if (how.keepOutline && !fileExists(path)) return;
  Busy busy(*this);
  if (how.rememberInOpenDialog) view_.source.setOpenDialogFileName(path);
  OutlineTree& tree = view_.source.tree();
  std::optional<OutlineMemory> memory;
  bool held = false;
  if (how.keepOutline) {
    memory = rememberOutline(rows_, tree.selectedIndex(), tree.topIndex());
    const fs::path file = pathFromText(path);
    for (int i = 0; i < 4 && isFileLocked(file); ++i) desktop_.sleep(50);
    held = isFileLocked(file);
  }
  if (!held) {
    // A file that cannot be read does not become the current file: the lines, the
    // outline and the pane still belong to the previous one, and every later check,
    // search or deletion must act on the file they came from.
    const LoadOutcome outcome = current_.read(path, [this] { view_.shell.processMessages(); });
    if (!outcome.ok) {
      view_.prompts.showFileError(path, outcome.error);
      return;
    }
    if (how.newFile) current_.rename(path);
    makeFuncTree();
    if (memory) {
      tree.beginUpdate();
      const OutlineRestore restore = restoreOutline(rows_, *memory);
      if (restore.top) tree.setTopIndex(*restore.top);
      if (restore.select) {
        tree.select(*restore.select);
        tree.setFocus();
      }
      tree.endUpdate();
    }
    runVariableCheck();
    if (how.clearJumpList) jumps_.clear();
  }
  if (how.touchHistory) makeFileHist();
}

bool TForm25::makeFuncTree() {
  OutlineSource src = buildOutlineSource(current_.lines(), view_.source.progress());
  jumps_.refresh(src.table);
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
  notUusedVariable(current_.lines(), jogaiSL_, pane, view_.source.progress(), true);
}

void TForm25::Button1Click() {
  if (auto path = view_.source.runOpenDialog()) load(*path, kOpenPath);
}

void TForm25::dropFiles(const TextList& paths) {
  auto taken = pickDroppedFile(paths, [](TextView p) { return isFileLocked(pathFromText(p)); });
  if (taken) load(paths[*taken], kDropPath);
}

void TForm25::Button10Click() {
  const TextList& entries = history_.entries();
  const HistoryChoice choice = view_.prompts.showHistoryDialog(entries);
  if (!choice.selected || *choice.selected >= entries.size()) return;
  if (choice.result == kMrYes) return history_.remove(*choice.selected);
  if (choice.result != kMrOk) return;
  const Text path = entries[*choice.selected];
  if (!fileExists(path)) return view_.prompts.showMessage(kFileNotFound);
  load(path, kHistoryPath);
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
  if (!current_.fullName().empty()) view_.prompts.showMessage(current_.fullName());
}

void TForm25::N18Click() { view_.prompts.showInformation(kAboutText); }

}  // namespace quenlit
