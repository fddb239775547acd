// The main window TForm25 on Windows: it creates and lays out the controls,
// turns window messages into the handlers of the logic (TForm25 in core/app),
// and implements every seam of MainViews over the real controls.
#pragma once

#include <windows.h>

#include <filesystem>

#include "app/MainForm.h"
#include "win32/base/Ids.h"
#include "win32/base/Theme.h"
#include "win32/app/WinBridges.h"
#include "win32/bridge/ComAutomation.h"
#include "win32/bridge/TargetCadDialog.h"
#include "win32/shell/WindowTimer.h"
#include "win32/bridge/WinDesktop.h"
#include "win32/reports/PaneControl.h"
#include "win32/shell/HistoryDialog.h"
#include "win32/shell/JumpListControl.h"
#include "win32/source/ProgressControl.h"
#include "win32/source/TreeControl.h"

namespace quenlit::win {

class MainWindow final : public SourceView,
                         public PaneView,
                         public ShellView,
                         public Prompts,
                         public OptionControls {
 public:
  MainWindow(HINSTANCE instance, std::filesystem::path exePath);
  ~MainWindow() override;
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;

  // Creates the window and its controls, runs the start-up and shows it.
  bool create(int showCommand);
  HWND hwnd() const { return hwnd_; }
  // Keyboard navigation between the controls; true when the message was used.
  bool preTranslate(MSG& msg);

  // SourceView, PaneView, ShellView, Prompts, OptionControls
  ResultPane& pane() override { return pane_; }
  ProgressBar& progress() override { return progress_; }
  OutlineTree& tree() override { return tree_; }
  void scrollPaneTop() override { pane_.scrollTop(); }
  JumpListBox& jumpList() override { return jumpBox_; }
  PaneSelection paneSelection() const override { return pane_.selection(); }
  void setPaneSelection(const PaneSelection& s) override { pane_.select(s); }
  bool copyToClipboard(TextView text) override;
  void setCaption(TextView caption) override;
  ScreenRect windowRect() const override;
  PanelHeights panelHeights() const override { return panels_; }
  ScreenRect workAreaFor(const ScreenRect& rect) const override;
  void placeWindow(const std::optional<ScreenRect>& rect, const PanelHeights& panels) override;
  void setFileNameText(TextView name) override;
  void setEncodingLabel(TextView label) override;
  void acceptDroppedFiles() override;
  int editorIndex() const override { return editorIndex_; }
  void setEditorIndex(int index) override;
  bool jumpChecked() const override;
  void setJumpChecked(bool checked) override;
  bool reloadChecked() const override;
  void setReloadChecked(bool checked) override;
  void showKeyChoice(bool ctrlG) override;
  Text searchText() const override;
  bool orderMode() const override;
  void setOpenDialogFileName(TextView path) override { openDialogName_ = Text(path); }
  std::optional<Text> runOpenDialog() override;
  void showFileError(TextView path, const FileError& error) override;
  void showMessage(TextView text) override;
  void showInformation(TextView text) override;
  bool askYesNo(const Question& question) override;
  HistoryChoice showHistoryDialog(const TextList& entries) override;
  void showTargetCadDialog(TargetCadForm& form, TextView progId) override { target_.show(hwnd_, form, progId); }
  void setBusy(bool busy) override;
  void processMessages() override;
  void openInNotepad(TextView path) override;
  void openAddress(TextView address) override;
  WindowId windowId() const override { return WindowId(hwnd_); }
  Timer& timer1() override { return timer1_; }

 private:
  static LRESULT CALLBACK wndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  static LRESULT CALLBACK controlProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR self);
  LRESULT handle(UINT msg, WPARAM wp, LPARAM lp);
  LRESULT handleControl(HWND ctl, UINT msg, WPARAM wp, LPARAM lp, bool& done);

  // MainControls.cpp
  void createControls();
  void createTooltips();
  void applyFonts();
  void layout();
  void fitEditorBox();  // after layout: the editor names fit the box's edit part
  void placeAtStart();
  HWND item(int id) const { return GetDlgItem(hwnd_, id); }

  // MainMenus.cpp
  void createMenus();
  void popup(HMENU menu, HWND from, LPARAM screenPoint);

  void onCommand(int id, int code, HWND control);
  // MainJumps.cpp: the jump list, the pane's jumps, the copies and "E".
  bool onJumpCommand(int id, int code, HWND control);
  LRESULT handleJumpList(UINT msg, WPARAM wp, LPARAM lp, bool& done);
  LRESULT onNotify(NMHDR& hdr);
  void onDropFiles(HDROP drop);
  HBRUSH onColor(UINT msg, HDC dc, HWND control);
  void onSplitter(int id, int dy);

  HINSTANCE instance_;
  HWND hwnd_ = nullptr;
  Window tooltip_;  // topmost by itself, owned by no window (see createTooltips)
  UINT dpi_ = 96;
  PanelHeights panels_;      // moved by Splitter2 and Splitter1, design pixels
  int checkBox3Width_ = 0;   // pixels its caption needs, measured with its font
  int editorIndex_ = 0;
  Text openDialogName_;
  bool destroyed_ = false;
  bool busy_ = false;

  Theme theme_;
  Font font_, edit1Font_, edit2Font_, memoFont_, listFont_, treeFont_;
  Font editorBoxFont_;         // the window's font, smaller where the editor names need it
  int editorBoxPixels_ = 0;    // its design size; 0 after applyFonts
  Menu popupMenu1_, popupMenu2_, popupMenu3_;
  TreeControl tree_;
  JumpListControl jumpBox_;
  PaneControl pane_;
  ProgressControl progress_;
  HistoryDialog history_{theme_};
  TargetCadDialog target_{theme_};
  WinBridges bridges_;
  WindowTimer timer1_{kTimer1Id, kTimer1Interval};
  WinDesktop desktop_;
  ComAutomation automation_;
  TForm25 form_;
};

}  // namespace quenlit::win
