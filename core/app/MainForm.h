// TForm25: the main window's logic. It carries the window's event handlers under
// the names of its controls and hands each to the owner of its subsystem: the
// current file, the outline, the jump list, the history, the save watch, the
// bridges. Every window call goes through one of the MainViews, every later
// bridge through AppBridges.
#pragma once

#include <filesystem>
#include <optional>
#include <vector>

#include "QuenlitVersion.h"
#include "app/LoadRules.h"
#include "app/MainView.h"
#include "bridge/Cad.h"
#include "bridge/EditorBridge.h"
#include "bridge/TargetCadForm.h"
#include "reports/Catalog.h"
#include "shell/FileHistory.h"
#include "shell/JumpList.h"
#include "shell/SaveWatch.h"
#include "source/CurrentFile.h"
#include "source/Outline.h"

namespace quenlit {

inline constexpr TextView kAboutText = u"QuenlitX.exe " QUENLIT_VERSION "\n" QUENLIT_COPYRIGHT;
inline constexpr TextView kFileNotFound = u"ファイルが見つかりません.";
inline constexpr TextView kJogaiQuestion =
    u"変数から除外する文字列ファイル jogaiList.txt を作成、編集しますか？\n"
    u"保存後に、再度[ 除外 ]ボタンをクリックすると変更が反映されます．";
inline constexpr TextView kKeyChoiceCtrl = u"VS Code 行ジャンプ= CTRL+G";
inline constexpr TextView kKeyChoiceAlt = u"VS Code 行ジャンプ= ALT+G";
inline constexpr TextView kClipboardFailedMessage = u"クリップボードにコピーできませんでした．";

class TForm25 {
 public:
  TForm25(const MainViews& view, AppBridges& bridges, Desktop& desktop, Automation& automation,
          std::filesystem::path exePath);
  // The owners it hands to each other hold references into it.
  TForm25(const TForm25&) = delete;
  TForm25& operator=(const TForm25&) = delete;

  // Start-up and exit.
  void FormCreate();
  void FormDestroy();

  // Loading.
  void Button1Click();                       // "Open\n..."
  void dropFiles(const TextList& paths);     // WM_DROPFILES, in the order the shell gives
  void reLoad() { load(Text(current_.fullName()), kReloadPath); }
  void makeFileHist() { history_.touch(current_.fullName()); }
  void Button10Click();                      // "履歴"

  // The outline.
  void TreeView1Click();
  void TreeView1DblClick();
  bool TreeView1KeyPress(char16_t key);      // true when the key was consumed

  // Jumps and copies (MainFormJumps.cpp): the editor, the jump list, the result
  // pane, the outline's copies to the clipboard.
  void sendEditorLineNo(bool ctrlFlag, int lineNo);
  void getEditorMainWinHandle();
  void Button9Click();                       // "E"
  void N6Click();                            // "ジャンプリストに追加"
  void N5Click();                            // "ジャンプリストの先頭に挿入"
  void N7Click();                            // "ジャンプリストをクリア"
  void N8Click();                            // "撰択行を１つ上に"
  void N9Click();                            // "選択行を１つ下に"
  void N10Click();                           // "選択行を削除"
  void N13Click();                           // "すべてを削除"
  void ListBox1DblClick();
  bool ListBox1KeyPress(char16_t key);       // true when the key was consumed
  // A drag on the list ended: the entries under its start and under the drop
  // point (none for the space below the last entry).
  void ListBox1DragDrop(std::optional<size_t> from, std::optional<size_t> to);
  void Memo2DblClick();                      // after the pane selected the word under the pointer
  void N16Click();                           // "選択した関数行へジャンプ"
  void N1Click();                            // "関数名だけをクリップボードにコピー"
  void N14Click();                           // "関数の範囲すべてをクリップボードにコピー"

  // The CAD and the placement (MainFormCad.cpp).
  void Button3Click();                       // "CAD": load the current file
  void Button3MouseDown(bool rightButton);   // a right press opens the target dialog
  void Button8Click();                       // "C"
  void CAD1Click();                          // "コマンドを CAD へ送信" (outline)
  void CAD2Click();                          // "コマンドを CAD へ送信" (jump list)
  void CAD3Click();                          // "ターゲット CAD" (CAD3 and CAD4)
  void SpeedButton4Click(bool right);        // "<" (false) and ">" (true)

  // Checks and reports.
  void Button2Click();                       // "((✔))"
  void Button4Click();                       // "変数✔"
  void Button5Click();                       // "関数カタログ"
  void Button6Click();                       // "除外"
  void Button7Click();                       // "関数✔"
  void Button11Click();                      // "行検索", also CheckBox3
  bool Edit2KeyPress(char16_t key);          // true when the key was consumed
  void Button12Click();                      // "全検索行削除"

  // The save watch and the help key: the message the keyboard hook posts, and Timer1.
  void hookKey(unsigned keyMessage, unsigned vk, bool ctrlDown);  // WM_HOOKKEY
  void Timer1Timer();

  // Settings-bound controls and small handlers.
  void CheckBox2Click();                     // after the box changed state
  void CTRLG2Click();
  void ALTG1Click();
  void Edit1Click();
  void N18Click();

  // Read-only views of the state.
  const SourceLines& lspSL() const { return current_.source(); }
  const Text& lspFullName() const { return current_.fullName(); }
  const Text& progId() const { return progId_; }
  const TextList& fileHistSL() const { return history_.entries(); }
  const std::vector<JumpEntry>& jumpList() const { return jumps_.entries(); }
  const EditorBridge& editor() const { return editor_; }
  WindowId helpWnd() const { return watch_.helpWnd(); }

  // The catalog's date and time; the window supplies the user's formats.
  void setCatalogClock(CatalogClock clock) { clock_ = std::move(clock); }

 private:
  // The wait cursor for the life of the scope; nested scopes show it once.
  class Busy {
   public:
    explicit Busy(TForm25& form) : form_(form) {
      if (form_.busyDepth_++ == 0) form_.view_.shell.setBusy(true);
    }
    ~Busy() {
      if (--form_.busyDepth_ == 0) form_.view_.shell.setBusy(false);
    }
    Busy(const Busy&) = delete;
    Busy& operator=(const Busy&) = delete;

   private:
    TForm25& form_;
  };

  bool loadJogaiList();
  // The one load routine; `path` is the current file's for the reload paths.
  void load(TextView path, const LoadPath& how);
  bool makeFuncTree();              // false when the tree already showed these rows
  void runVariableCheck();          // clear, bracket, notUusedVariable(true)
  std::optional<size_t> selectedRow() const;  // the outline row selected, if any
  std::filesystem::path exeDir() const { return exePath_.parent_path(); }

  MainViews view_;
  AppBridges& bridges_;
  Desktop& desktop_;
  EditorBridge editor_;
  Cad cad_;
  TargetCadForm targetForm_;
  std::filesystem::path exePath_;

  CurrentFile current_;
  Text progId_;
  TextList jogaiSL_;
  HistoryFile history_;
  std::vector<OutlineRow> rows_;
  bool treeShown_ = false;          // the tree shows rows_
  int busyDepth_ = 0;
  JumpList jumps_;
  bool ctrlG2_ = true;
  CatalogClock clock_;
  SaveWatch watch_;
};

}  // namespace quenlit
