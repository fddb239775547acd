// Recording fakes of the main window's view and of the later bridges, for
// driving TForm25 without a window; the editors live on a FakeDesktop.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "FakeAutomation.h"
#include "FakeDesktop.h"
#include "TestSupport.h"
#include "app/MainForm.h"
#include "app/MainView.h"
#include "source/SourceFile.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <filesystem>
#endif

namespace quenlit::test {

class FakeTree final : public OutlineTree {
 public:
  void beginUpdate() override {}
  void endUpdate() override {}
  void setRows(const std::vector<OutlineRow>& r) override {
    rows = r;
    ++builds;
    selected.reset();
    top = rows.empty() ? std::nullopt : std::optional<size_t>(0);
  }
  std::optional<size_t> selectedIndex() const override { return selected; }
  std::optional<size_t> topIndex() const override { return top; }
  void select(size_t i) override { selected = i; }
  void setTopIndex(size_t i) override { top = i; }
  void setFocus() override { focused = true; }

  std::vector<OutlineRow> rows;
  std::optional<size_t> selected, top;
  bool focused = false;
  int builds = 0;
};

class RecordingPane final : public ResultPane {
 public:
  size_t lineCount() const override { return mem.lineCount(); }
  Text line(size_t i) const override { return mem.line(i); }
  void insertLine(size_t i, TextView t) override { mem.insertLine(i, t); }
  void removeLine(size_t i) override { mem.removeLine(i); }
  void clear() override { mem.clear(); }
  void beginUpdate() override { ++depth; }
  void endUpdate() override { --depth; }
  MemoryPane mem;
  int depth = 0;
};

class FakeJumpBox final : public JumpListBox {
 public:
  void show(const std::vector<JumpEntry>& e) override {
    entries = e;
    selected.reset();
  }
  std::optional<size_t> selectedIndex() const override { return selected; }
  void select(std::optional<size_t> i) override { selected = i; }

  // The texts shown, in order.
  TextList texts() const {
    TextList t;
    for (const auto& e : entries) t.push_back(e.text);
    return t;
  }
  std::vector<JumpEntry> entries;
  std::optional<size_t> selected;
};

// Every seam of the window, as one recording fake: the form drives them all.
class FakeView final : public SourceView, public PaneView, public ShellView, public Prompts, public OptionControls {
 public:
  ResultPane& pane() override { return paneImpl; }
  ProgressBar& progress() override { return bar; }
  OutlineTree& tree() override { return treeImpl; }
  void scrollPaneTop() override { ++scrolls; }
  JumpListBox& jumpList() override { return jumpBox; }
  PaneSelection paneSelection() const override { return paneSel; }
  void setPaneSelection(const PaneSelection& s) override { paneSel = s; }
  void setCaption(TextView c) override { caption = c; }
  ScreenRect windowRect() const override { return window; }
  PanelHeights panelHeights() const override { return panels; }
  ScreenRect workAreaFor(const ScreenRect&) const override { return workArea; }
  void placeWindow(const std::optional<ScreenRect>& r, const PanelHeights& p) override {
    if (r) window = *r;
    panels = p;
  }
  void setFileNameText(TextView n) override { edit1 = n; }
  void setEncodingLabel(TextView l) override { label1 = l; }
  void acceptDroppedFiles() override {}
  int editorIndex() const override { return editor; }
  void setEditorIndex(int i) override { editor = (i >= -1 && i <= 4) ? i : -1; }
  bool jumpChecked() const override { return jump; }
  void setJumpChecked(bool c) override { jump = c; }
  bool reloadChecked() const override { return reload; }
  void setReloadChecked(bool c) override { reload = c; }
  void showKeyChoice(bool c) override { ctrlG = c; }
  Text searchText() const override { return edit2; }
  bool orderMode() const override { return checkBox3; }
  void setOpenDialogFileName(TextView p) override { openDialogName = p; }
  std::optional<Text> runOpenDialog() override { return openAnswer; }
  void showFileError(TextView path, const FileError& e) override {
    errors.push_back(Text(path));
    errorReasons.push_back(e.reason);
  }
  void showMessage(TextView t) override { messages.push_back(Text(t)); }
  void showInformation(TextView) override {}
  bool askYesNo(const Question& q) override {
    questions.push_back(q);
    bool a = answers.empty() ? false : answers.front();
    if (!answers.empty()) answers.pop_front();
    return a;
  }
  HistoryChoice showHistoryDialog(const TextList& entries) override {
    historyShown = entries;
    return historyAnswer;
  }
  // The target dialog "shows" by running the script the test gave it.
  void showTargetCadDialog(TargetCadForm& form, TextView progId) override {
    log.push_back("targetDialog " + toUtf8(progId));
    if (targetScript) targetScript(form);
  }
  bool copyToClipboard(TextView t) override {
    if (!clipboardWorks) return false;
    clipboard = t;
    return true;
  }
  void setBusy(bool b) override { busyLog.push_back(b); }
  void processMessages() override {}
  void openInNotepad(TextView p) override { notepad.push_back(Text(p)); }
  void openAddress(TextView a) override { addresses.push_back(Text(a)); }
  WindowId windowId() const override { return ownWindow; }
  MainViews views() { return {*this, *this, *this, *this, *this}; }
  Timer& timer1() override { return timer; }

  struct FakeTimer final : Timer {
    void setEnabled(bool on) override { enabled = on; }
    bool enabled = false;
  } timer;
  WindowId ownWindow = kNoWindow;
  TextList addresses;
  FakeTree treeImpl;
  RecordingPane paneImpl;
  FakeJumpBox jumpBox;
  PaneSelection paneSel;
  Text clipboard;
  bool clipboardWorks = true;
  NullProgress bar;
  int scrolls = 0;
  Text caption = u"Quenlit", edit1, label1 = u"ANSI", edit2, openDialogName;
  ScreenRect window{831, 298, 1089, 782}, workArea{0, 0, 1920, 1040};
  PanelHeights panels;
  int editor = 0;
  bool jump = true, reload = true, ctrlG = true, checkBox3 = false;  // as the form is designed
  std::optional<Text> openAnswer;
  TextList errors, messages, notepad;
  std::vector<std::string> errorReasons, log;  // log: the dialogs shown
  std::vector<bool> busyLog;
  std::vector<Question> questions;
  std::deque<bool> answers;
  TextList historyShown;
  HistoryChoice historyAnswer;
  std::function<void(TargetCadForm&)> targetScript;
};

class RecordingBridges final : public AppBridges {
 public:
  void allowHookMessage() override { log.push_back("allowHookMessage"); }
  void installKeyboardHook() override {
    log.push_back("installHook");
    hook = true;
  }
  void removeKeyboardHook() override {
    log.push_back("removeHook");
    hook = false;
  }
  void registerMessageFilter() override { log.push_back("registerFilter"); }
  void revokeMessageFilter() override { log.push_back("revokeFilter"); }

  std::vector<std::string> log;
  bool hook = false;
};

// Makes a file count as locked for as long as it lives: an exclusive handle on
// Windows, no write permission elsewhere (which does not hold for root).
class FileHold {
 public:
  explicit FileHold(const std::filesystem::path& p) : path_(p) {
#ifdef _WIN32
    h_ = CreateFileW(p.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
#else
    std::filesystem::permissions(p, std::filesystem::perms::owner_read | std::filesystem::perms::group_read |
                                        std::filesystem::perms::others_read);
#endif
  }
  ~FileHold() {
#ifdef _WIN32
    if (h_ != INVALID_HANDLE_VALUE) CloseHandle(h_);
#else
    std::error_code ec;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all, std::filesystem::perm_options::add, ec);
#endif
  }
  bool held() const { return isFileLocked(path_); }

 private:
  std::filesystem::path path_;
#ifdef _WIN32
  HANDLE h_ = INVALID_HANDLE_VALUE;
#endif
};

inline const char* const kDemo =
    ";;; draws a box\n"
    "(defun c:box (/ p1 p2)\n"
    "  (setq p1 (getpoint))\n"
    "  (defun inner (a) (* a 2))\n"
    "  (princ))\n"
    "(defun area (w h / r)\n"
    "  (setq r (* w h)))\n";

// A TForm25 on a fake window and a fake desktop, with a scratch folder as the
// executable's folder.
struct App {
  TempDir dir;
  FakeView view;
  RecordingBridges bridges;
  FakeDesktop desktop;
  FakeAutomation automation{desktop.log};
  TForm25 form{view.views(), bridges, desktop, automation, dir.path / "QuenlitX.exe"};

  std::filesystem::path file(const std::string& name) const { return dir.path / name; }
  Text path(const std::string& name) const { return textFromPath(file(name)); }
  void write(const std::string& name, const std::string& bytes) const { writeBytes(file(name), bytes); }
  std::string read(const std::string& name) const { return readBytes(file(name)); }
  // Started with `name` written from `source` and dropped on the window.
  void start(const std::string& name = "demo.lsp", const std::string& source = kDemo) {
    write(name, source);
    form.FormCreate();
    form.dropFiles({path(name)});
  }
  TextList paneLines() const { return view.paneImpl.mem.all(); }
  // VS Code (the editor selected by default) showing a file.
  WindowId openInVSCode(const std::string& name) {
    return desktop.add({.cls = kVSCodeClass, .title = T(name) + u" - work - Visual Studio Code"});
  }
};

}  // namespace quenlit::test
