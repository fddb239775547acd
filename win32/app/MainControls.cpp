// Creating the main window's controls and placing them: positions as designed at
// 96 DPI, scaled to the window's DPI, with the anchoring of each control.
#include <windows.h>
#include <commctrl.h>
#include <imm.h>

#include "app/EditorChoice.h"
#include "win32/base/Ids.h"
#include "win32/app/MainWindow.h"
#include "shell/WindowLayout.h"

namespace quenlit::win {

namespace {

using namespace layout;
// The window opens at kMinWidth rather than the designed client width (see
// WindowLayout.h); the anchored controls grow and move by the difference, as they
// do when the user widens the window.

enum class Region { ControlPanel, SearchBar };
enum class Anchor { Left, Grow, Right };  // fixed; wider with the window; kept at the right edge
enum class FontKind { Default, Edit1, Edit2, JumpList };

struct ControlLayout {
  int id;
  const wchar_t* cls;
  const wchar_t* text;
  DWORD style;
  Region region;
  int x, y, w, h;
  Anchor anchor;
  FontKind font;
  const wchar_t* hint;
};

constexpr DWORD kButton = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_OWNERDRAW;
constexpr DWORD kCheck = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX;
constexpr DWORD kLabel = WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX;

const ControlLayout kLayouts[] = {
    {kIdButton1, WC_BUTTONW, L"Open\n...", kButton | BS_MULTILINE, Region::ControlPanel, 9, 5, 43, 45, Anchor::Left,
     FontKind::Default, L"LISP ファイルを読み込み"},
    {kIdComboBox1, WC_COMBOBOXW, L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL,
     Region::ControlPanel, 58, 8, 79, 160, Anchor::Left, FontKind::Default, nullptr},
    {kIdCheckBox1, WC_BUTTONW, L"Jump", kCheck, Region::ControlPanel, 143, 10, 52, 17, Anchor::Left, FontKind::Default,
     nullptr},
    {kIdCheckBox2, WC_BUTTONW, L"Reload", kCheck, Region::ControlPanel, 143, 30, 54, 17, Anchor::Left,
     FontKind::Default, nullptr},
    {kIdButton3, WC_BUTTONW, L"CAD", kButton, Region::ControlPanel, 198, 5, 30, 45, Anchor::Left, FontKind::Default,
     L"CADへロード、右クリックでCAD変更"},
    {kIdButton8, WC_BUTTONW, L"C", kButton, Region::ControlPanel, 230, 5, 27, 21, Anchor::Left, FontKind::Default,
     L"CAD をアクティブに"},
    {kIdButton9, WC_BUTTONW, L"E", kButton, Region::ControlPanel, 230, 28, 27, 21, Anchor::Left, FontKind::Default,
     L"Editor をアクティブに"},
    {kIdButton5, WC_BUTTONW, L"関数カタログ", kButton, Region::ControlPanel, 55, 28, 82, 22, Anchor::Left,
     FontKind::Default, L"関数カタログを表示"},
    {kIdButton2, WC_BUTTONW, L"((✔))", kButton, Region::ControlPanel, 6, 53, 43, 22, Anchor::Left, FontKind::Default,
     L"括弧数チェック"},
    {kIdButton4, WC_BUTTONW, L"変数✔", kButton, Region::ControlPanel, 55, 53, 45, 22, Anchor::Left,
     FontKind::Default, L"変数チェック"},
    {kIdButton6, WC_BUTTONW, L"除外", kButton, Region::ControlPanel, 101, 53, 42, 22, Anchor::Left, FontKind::Default,
     L"変数チェックで除外される文字列を表示"},
    {kIdButton7, WC_BUTTONW, L"関数✔", kButton, Region::ControlPanel, 144, 53, 43, 22, Anchor::Left,
     FontKind::Default, L"関数チェック、出現数集計"},
    {kIdSpeedButton4, WC_BUTTONW, L"<", kButton, Region::ControlPanel, 192, 53, 31, 22, Anchor::Left,
     FontKind::Default, L"スクリーン左端に配置"},
    {kIdSpeedButton5, WC_BUTTONW, L">", kButton, Region::ControlPanel, 226, 53, 31, 22, Anchor::Left,
     FontKind::Default, L"スクリーンの右端に配置"},
    {kIdLabel1, WC_STATICW, L"ANSI", kLabel, Region::ControlPanel, 9, 83, 29, 15, Anchor::Left, FontKind::Default,
     nullptr},
    {kIdEdit1, WC_EDITW, L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_BORDER | ES_READONLY | ES_AUTOHSCROLL,
     Region::ControlPanel, 39, 81, 137, 24, Anchor::Grow, FontKind::Edit1, L"クリックでフルネーム表示"},
    {kIdButton10, WC_BUTTONW, L"履歴", kButton, Region::ControlPanel, 182, 81, 59, 24, Anchor::Right,
     FontKind::Default, nullptr},
    {kIdListBox1, WC_LISTBOXW, L"",
     WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_BORDER | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT,
     Region::ControlPanel, 0, 111, 240, 80, Anchor::Grow, FontKind::JumpList,
     L"ドラッグで行移動、[Enter] またはダブルクリックでジャンプ"},
    {kIdLabel2, WC_STATICW, L"検索文字", kLabel, Region::SearchBar, 9, 9, 52, 15, Anchor::Left, FontKind::Default,
     nullptr},
    {kIdEdit2, WC_EDITW, L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL, Region::SearchBar, 63,
     6, 113, 21, Anchor::Grow, FontKind::Edit2, nullptr},
    {kIdCheckBox3, WC_BUTTONW, L"登場順(スペース区切り)", kCheck, Region::SearchBar, 9, 33, 140, 17, Anchor::Left,
     FontKind::Default, nullptr},
    {kIdButton11, WC_BUTTONW, L"行検索", kButton, Region::SearchBar, 182, 6, 57, 25, Anchor::Right,
     FontKind::Default, nullptr},
    {kIdButton12, WC_BUTTONW, L"全検索行削除", kButton, Region::SearchBar, 152, 34, 88, 15, Anchor::Left,
     FontKind::Default, nullptr},
};


}  // namespace

void MainWindow::createControls() {
  for (const ControlLayout& s : kLayouts) {
    CreateWindowExW(0, s.cls, s.text, s.style, 0, 0, 0, 0, hwnd_, reinterpret_cast<HMENU>(INT_PTR(s.id)), instance_,
                    nullptr);
  }
  HWND combo = item(kIdComboBox1);
  for (TextView e : kEditorItems) SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide(e).c_str()));
  SendMessageW(combo, CB_SETCURSEL, 0, 0);  // "VS Code"

  // Checked as designed: "Jump", and "Reload" until the settings say otherwise.
  SendMessageW(item(kIdCheckBox1), BM_SETCHECK, BST_CHECKED, 0);
  SendMessageW(item(kIdCheckBox2), BM_SETCHECK, BST_CHECKED, 0);
  for (int id : {kIdCheckBox1, kIdCheckBox2, kIdCheckBox3, kIdComboBox1}) Theme::plainDrawing(item(id));

  HWND tree = CreateWindowExW(0, WC_TREEVIEWW, L"",
                              WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_BORDER | TVS_HASBUTTONS | TVS_LINESATROOT |
                                  TVS_FULLROWSELECT | TVS_SHOWSELALWAYS | TVS_NOTOOLTIPS,
                              0, 0, 0, 0, hwnd_, reinterpret_cast<HMENU>(INT_PTR(kIdTreeView1)), instance_, nullptr);
  tree_.attach(tree, progress_);
  TreeView_SetBkColor(tree, colors::kField);
  TreeView_SetTextColor(tree, colors::kSilver);
  TreeView_SetLineColor(tree, colors::kSilver);
  Theme::darkenScrollBars(tree);

  HWND memo = CreateWindowExW(0, WC_EDITW, L"",
                              WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_BORDER | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE |
                                  ES_AUTOVSCROLL | ES_AUTOHSCROLL | ES_WANTRETURN | ES_NOHIDESEL,
                              0, 0, 0, 0, hwnd_, reinterpret_cast<HMENU>(INT_PTR(kIdMemo2)), instance_, nullptr);
  SendMessageW(memo, EM_SETLIMITTEXT, 0, 0);
  pane_.attach(memo);
  Theme::darkenScrollBars(memo);
  Theme::darkenScrollBars(item(kIdListBox1));

  HWND bar = CreateWindowExW(0, PROGRESS_CLASSW, L"", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, hwnd_,
                             reinterpret_cast<HMENU>(INT_PTR(kIdProgressBar1)), instance_, nullptr);
  Theme::plainDrawing(bar);
  SendMessageW(bar, PBM_SETBARCOLOR, 0, colors::kProgress);
  SendMessageW(bar, PBM_SETBKCOLOR, 0, colors::kWindow);
  progress_.attach(bar);

  for (int id : {kIdSplitter2, kIdSplitter1})
    CreateWindowExW(0, kSplitterClass, L"", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, hwnd_,
                    reinterpret_cast<HMENU>(INT_PTR(id)), instance_, nullptr);

  // The handlers the logic needs beyond the parent's notifications.
  jumpBox_.attach(item(kIdListBox1));
  for (int id : {kIdEdit1, kIdEdit2, kIdTreeView1, kIdMemo2, kIdButton3, kIdListBox1})
    SetWindowSubclass(item(id), controlProc, UINT_PTR(id), reinterpret_cast<DWORD_PTR>(this));

  closeInputMethod(item(kIdEdit2));  // the search text starts with the input method off
  createTooltips();
}

void MainWindow::createTooltips() {
  // Not owned by the main window: under Wine a window that owns a topmost popup
  // loses its own topmost flag when it is put back into that layer (after the
  // history dialog). The tooltip is topmost by itself.
  tooltip_.reset(CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, TOOLTIPS_CLASSW, nullptr,
                                 WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                 CW_USEDEFAULT, nullptr, nullptr, instance_, nullptr));
  if (!tooltip_) return;  // the hints are a comfort, not a need
  auto add = [this](int id, const wchar_t* hint) {
    TTTOOLINFOW ti{};
    ti.cbSize = sizeof ti;
    ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    ti.hwnd = hwnd_;
    ti.uId = reinterpret_cast<UINT_PTR>(item(id));
    ti.lpszText = const_cast<wchar_t*>(hint);
    SendMessageW(tooltip_.get(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
  };
  for (const ControlLayout& s : kLayouts)
    if (s.hint) add(s.id, s.hint);
  add(kIdTreeView1, L"[Enter] またはダブルクリックでジャンプ、右クリックでコピー");
  SendMessageW(tooltip_.get(), TTM_SETMAXTIPWIDTH, 0, 600);
}

void MainWindow::applyFonts() {
  // Where Consolas or "ＭＳ ゴシック" is missing (Wine, say), another fixed-pitch
  // font keeps the columns of the reports, the outline and the jump list.
  const wchar_t* gothic = firstInstalled({L"ＭＳ ゴシック", L"MS Gothic", L"IPAGothic", L"IPAゴシック",
                                          L"Noto Sans Mono CJK JP", L"Osaka－等幅"});
  const wchar_t* mono = fontInstalled(L"Consolas") ? L"Consolas" : gothic;
  font_ = makeFont(L"Tahoma", 11, false, dpi_);
  edit1Font_ = makeFont(L"Tahoma", 13, true, dpi_);
  edit2Font_ = makeFont(gothic, 12, true, dpi_);
  memoFont_ = makeFont(gothic, 13, false, dpi_);
  listFont_ = makeFont(mono, 15, true, dpi_);
  treeFont_ = makeFont(mono, 15, false, dpi_);
  for (const ControlLayout& s : kLayouts) {
    HFONT f = s.font == FontKind::Edit1   ? edit1Font_.get()
              : s.font == FontKind::Edit2 ? edit2Font_.get()
              : s.font == FontKind::JumpList ? listFont_.get()
                                             : font_.get();
    SendMessageW(item(s.id), WM_SETFONT, WPARAM(f), TRUE);
  }
  editorBoxPixels_ = 0;  // the box has the window's font again: fitEditorBox chooses anew
  SendMessageW(item(kIdListBox1), LB_SETITEMHEIGHT, 0, scale(18, dpi_));
  SendMessageW(item(kIdTreeView1), WM_SETFONT, WPARAM(treeFont_.get()), TRUE);
  TreeView_SetIndent(item(kIdTreeView1), scale(19, dpi_));
  tree_.setIcons(dpi_);
  SendMessageW(item(kIdMemo2), WM_SETFONT, WPARAM(memoFont_.get()), TRUE);
  {
    // The order box's caption is measured in the font it is shown in, which
    // varies with the fonts installed; the box is made as wide as it needs.
    const std::wstring caption = windowText(item(kIdCheckBox3));
    WindowDC dc(item(kIdCheckBox3));
    Selected use(dc.get(), font_.get());
    SIZE sz{};
    GetTextExtentPoint32W(dc.get(), caption.c_str(), int(caption.size()), &sz);
    checkBox3Width_ = sz.cx + GetSystemMetricsForDpi(SM_CXMENUCHECK, dpi_) + scale(8, dpi_);
  }
  if (tooltip_) SendMessageW(tooltip_.get(), WM_SETFONT, WPARAM(font_.get()), TRUE);
}

void MainWindow::layout() {
  RECT c;
  GetClientRect(hwnd_, &c);
  const int W = c.right, H = c.bottom;
  auto s = [this](int v) { return scale(v, dpi_); };
  const int grow = W - s(kDesignWidth);

  // Top to bottom: control panel, Splitter2, outline, Splitter1, lower panel.
  const VerticalLayout v = layOut(panels_, MulDiv(H, 96, int(dpi_)));
  const int panel2 = s(v.control);
  const int panel1 = s(v.lower);
  const int treeH = std::max(0, H - panel2 - s(kSplitter2) - s(kSplitter1) - panel1);
  const int treeTop = panel2 + s(kSplitter2);
  const int panel1Top = treeTop + treeH + s(kSplitter1);

  HDWP batch = BeginDeferWindowPos(int(std::size(kLayouts)) + 6);
  auto place = [&](HWND h, int x, int y, int w, int hgt) {
    if (batch) batch = DeferWindowPos(batch, h, nullptr, x, y, std::max(0, w), std::max(0, hgt), SWP_NOZORDER |
                                                                                                   SWP_NOACTIVATE);
  };
  for (const ControlLayout& sp : kLayouts) {
    const int top = sp.region == Region::ControlPanel ? 0 : panel1Top;
    int x = s(sp.x), w = s(sp.w);
    if (sp.anchor == Anchor::Grow) w += grow;
    if (sp.anchor == Anchor::Right) x += grow;
    // The order box takes what its caption needs; the delete button beside it
    // moves right as far as that takes.
    if (sp.id == kIdCheckBox3) w = std::max(w, checkBox3Width_);
    if (sp.id == kIdButton12) x = std::max(x, s(9) + checkBox3Width_ + s(3));
    place(item(sp.id), x, top + s(sp.y), w, s(sp.h));
  }
  place(item(kIdSplitter2), 0, panel2, W, s(kSplitter2));
  place(item(kIdTreeView1), 0, treeTop, W, treeH);
  place(item(kIdSplitter1), 0, treeTop + treeH, W, s(kSplitter1));
  const int memoTop = panel1Top + s(kSearchBar);
  const int barTop = H - s(kProgress);
  place(item(kIdMemo2), 0, memoTop, W, barTop - memoTop);
  place(item(kIdProgressBar1), 0, barTop, W, s(kProgress));
  if (batch) EndDeferWindowPos(batch);
  fitEditorBox();
  // The window's own ground between the controls (the search bar's strip) is
  // painted afresh, or pixels of where the controls stood stay behind.
  RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

// The editor box keeps its designed width. Its edit part scrolls the selected
// name to its end when the name is wider than the part, so "Notepad ++" showed
// as "otepad ++": the part loses its margins and, where the fonts installed draw
// the names wider still, the box takes the window's font a pixel or two smaller.
void MainWindow::fitEditorBox() {
  HWND combo = item(kIdComboBox1);
  COMBOBOXINFO info{sizeof info};
  if (!GetComboBoxInfo(combo, &info) || !info.hwndItem) return;
  const int room = info.rcItem.right - info.rcItem.left;
  if (room <= 0 || editorBoxPixels_) return;
  auto widest = [&](HFONT f) {
    WindowDC dc(combo);
    Selected use(dc.get(), f);
    int w = 0;
    for (TextView e : kEditorItems) {
      const std::wstring name = wide(e);
      SIZE sz{};
      GetTextExtentPoint32W(dc.get(), name.c_str(), int(name.size()), &sz);
      w = std::max(w, int(sz.cx));
    }
    return w;
  };
  int pixels = 11;
  Font f = makeFont(L"Tahoma", pixels, false, dpi_);
  while (pixels > 8 && widest(f.get()) > room) f = makeFont(L"Tahoma", --pixels, false, dpi_);
  editorBoxFont_ = std::move(f);
  editorBoxPixels_ = pixels;
  SendMessageW(combo, WM_SETFONT, WPARAM(editorBoxFont_.get()), TRUE);
  // The font resets the margins.
  SendMessageW(info.hwndItem, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(0, 0));
}

void MainWindow::placeAtStart() {
  dpi_ = GetDpiForWindow(hwnd_);
  RECT r{0, 0, scale(kMinWidth, dpi_), scale(kDesignHeight, dpi_)};
  AdjustWindowRectExForDpi(&r, DWORD(GetWindowLongPtrW(hwnd_, GWL_STYLE)), FALSE,
                           DWORD(GetWindowLongPtrW(hwnd_, GWL_EXSTYLE)), dpi_);
  const int w = r.right - r.left, h = r.bottom - r.top;
  MONITORINFO mi{sizeof mi};
  GetMonitorInfoW(MonitorFromWindow(hwnd_, MONITOR_DEFAULTTOPRIMARY), &mi);
  const RECT& area = mi.rcWork;
  SetWindowPos(hwnd_, HWND_TOPMOST, area.left + (area.right - area.left - w) / 2,
               area.top + (area.bottom - area.top - h) / 2, w, h, SWP_NOACTIVATE);
}

ScreenRect MainWindow::windowRect() const {
  // The restored rectangle, also while minimized; it is kept in work-area
  // coordinates, which differ from the screen's when the task bar is at the top or left.
  WINDOWPLACEMENT wp{sizeof wp};
  RECT r{};
  if (GetWindowPlacement(hwnd_, &wp)) {
    r = wp.rcNormalPosition;
    MONITORINFO mi{sizeof mi};
    if (GetMonitorInfoW(MonitorFromRect(&r, MONITOR_DEFAULTTONEAREST), &mi))
      OffsetRect(&r, mi.rcWork.left - mi.rcMonitor.left, mi.rcWork.top - mi.rcMonitor.top);
  } else {
    GetWindowRect(hwnd_, &r);
  }
  return ScreenRect{r.left, r.top, r.right, r.bottom};
}

ScreenRect MainWindow::workAreaFor(const ScreenRect& rect) const {
  RECT r{rect.left, rect.top, rect.right, rect.bottom};
  MONITORINFO mi{sizeof mi};
  if (!GetMonitorInfoW(MonitorFromRect(&r, MONITOR_DEFAULTTONEAREST), &mi))
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &mi.rcWork, 0);
  return ScreenRect{mi.rcWork.left, mi.rcWork.top, mi.rcWork.right, mi.rcWork.bottom};
}

void MainWindow::placeWindow(const std::optional<ScreenRect>& rect, const PanelHeights& panels) {
  panels_ = panels;
  if (rect) {
    SetWindowPos(hwnd_, nullptr, rect->left, rect->top, rect->width(), rect->height(),
                 SWP_NOZORDER | SWP_NOACTIVATE);
  }
  layout();
}

}  // namespace quenlit::win
