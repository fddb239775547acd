// Control, menu, timer and private message identifiers of QuenlitX.exe, all in
// one place so that no two share a number. The end-to-end driver includes this
// header too: it finds the controls with GetDlgItem and sends the menu commands
// by these numbers.
#pragma once

#include <windows.h>

namespace quenlit::win {

// The main window's private messages. (WM_HOOKKEY, WM_APP + 110, belongs to the
// portable save watch: kWmHookKey in shell/SaveWatch.h.)
inline constexpr UINT kMsgTreeClick = WM_APP + 1;      // after the tree has moved its selection
inline constexpr UINT kMsgSplitterMoved = WM_APP + 2;  // wParam the splitter's id, lParam the distance moved
inline constexpr UINT kMsgEdit1Click = WM_APP + 3;
inline constexpr UINT kMsgMemoDblClick = WM_APP + 4;   // after the pane selected the word
inline constexpr UINT kMsgButton3Right = WM_APP + 5;   // a right press on "CAD", handled after the press
inline constexpr UINT_PTR kTimer1Id = 1;

inline constexpr wchar_t kMainClass[] = L"TForm25";
inline constexpr wchar_t kSplitterClass[] = L"QuenlitSplitter";
inline constexpr wchar_t kHistoryTitle[] = L"ファイル履歴";

enum ControlId : int {
  kIdButton1 = 1001,  // "Open\n..."
  kIdButton2,         // "((✔))"
  kIdButton3,         // "CAD"
  kIdButton4,         // "変数✔"
  kIdButton5,         // "関数カタログ"
  kIdButton6,         // "除外"
  kIdButton7,         // "関数✔"
  kIdButton8,         // "C"
  kIdButton9,         // "E"
  kIdButton10,        // "履歴"
  kIdButton11,        // "行検索"
  kIdButton12,        // "全検索行削除"
  kIdSpeedButton4 = 1020,
  kIdSpeedButton5,
  kIdComboBox1 = 1030,
  kIdCheckBox1,       // "Jump"
  kIdCheckBox2,       // "Reload"
  kIdCheckBox3,       // "登場順(スペース区切り)"
  kIdLabel1 = 1040,   // "UTF8" / "ANSI"
  kIdLabel2,          // "検索文字"
  kIdEdit1 = 1050,    // the current file's name
  kIdEdit2,           // the search text
  kIdListBox1 = 1060, // the jump list
  kIdTreeView1,
  kIdMemo2,
  kIdProgressBar1,
  kIdSplitter1,
  kIdSplitter2,
};

// Menu items. CTRLG1 and CTRLG3 are sub-menu parents: their ids only find them.
enum MenuId : int {
  kIdN1 = 2001,  // "関数名だけをクリップボードにコピー"
  kIdN5 = 2005,  // "ジャンプリストの先頭に挿入"
  kIdN6,         // "ジャンプリストに追加"
  kIdN7,         // "ジャンプリストをクリア"
  kIdN8,         // "撰択行を１つ上に"
  kIdN9,         // "選択行を１つ下に"
  kIdN10,        // "選択行を削除"
  kIdN13 = 2013, // "すべてを削除"
  kIdN14,        // "関数の範囲すべてをクリップボードにコピー"
  kIdN16 = 2016, // "選択した関数行へジャンプ"
  kIdN18 = 2018, // "バージョン情報" (jump list menu)
  kIdN20 = 2020, // "バージョン情報" (outline menu)
  kIdCAD1 = 2101,
  kIdCAD2,
  kIdCAD3,
  kIdCAD4,
  kIdCTRLG1 = 2201,  // parent of CTRLG2 and ALTG1 (jump list menu)
  kIdCTRLG2,
  kIdCTRLG3,         // parent of CTRLG4 and ALTG2 (outline menu)
  kIdCTRLG4,
  kIdALTG1 = 2301,
  kIdALTG2,
};

// History dialog controls; its modal results are those of the buttons.
enum HistoryId : int {
  kIdHistList = 101,
  kIdHistLoad = 102,    // "ロード", result 1
  kIdHistDelete = 103,  // "削除", result 6
  kIdHistCancel = 104,  // "取り消し", result 2
};

// Target CAD dialog controls (TTargetCADForm).
enum TargetCadId : int {
  kIdTargetList = 201,  // ListBox1
  kIdTargetEdit1,       // name
  kIdTargetEdit2,       // identifier
  kIdTargetLabel1,      // "名称 （説明）"
  kIdTargetLabel2,      // "ProgID （クラス文字列）"
  kIdTargetAdd,         // SpeedButton1 "追加"
  kIdTargetDelete,      // SpeedButton2 "削除"
  kIdTargetChange,      // SpeedButton3 "変更"
  kIdTargetOk,          // Button1 "OK"
  kIdTargetCancel,      // Button2 "取り消し"
};

}  // namespace quenlit::win
