#include "win32/app/MainWindow.h"

#include <commctrl.h>
#include <imm.h>
#include <shellapi.h>
#include <windowsx.h>

#include "app/EditorChoice.h"
#include "win32/base/Ids.h"
#include "bridge/TargetCadForm.h"
#include "win32/res/resource.h"
#include "win32/shell/Splitter.h"

namespace quenlit::win {

namespace {

// FILETIME counts 100-nanosecond ticks from 1601-01-01; time_t counts seconds from 1970-01-01.
constexpr long long kTicksPerSecond = 10'000'000;
constexpr long long kTicksFrom1601To1970 = 116'444'736'000'000'000;

// The catalog's moment in the user's short date and long time formats.
Text localDateTime(std::time_t t) {
  const long long ticks = (long long)t * kTicksPerSecond + kTicksFrom1601To1970;
  FILETIME utc{DWORD(ticks), DWORD(ticks >> 32)}, local{};
  SYSTEMTIME st{};
  if (!FileTimeToLocalFileTime(&utc, &local) || !FileTimeToSystemTime(&local, &st)) return Text();
  wchar_t date[128] = L"", time[128] = L"";
  GetDateFormatEx(LOCALE_NAME_USER_DEFAULT, DATE_SHORTDATE, &st, nullptr, date, 128, nullptr);
  GetTimeFormatEx(LOCALE_NAME_USER_DEFAULT, 0, &st, nullptr, time, 128);
  return text(std::wstring(date) + L" " + time);
}

}  // namespace

MainWindow::MainWindow(HINSTANCE instance, std::filesystem::path exePath)
    : instance_(instance), form_({*this, *this, *this, *this, *this}, bridges_, desktop_, automation_, std::move(exePath)) {
  form_.setCatalogClock(CatalogClock{[] { return std::time(nullptr); }, localDateTime});
}

MainWindow::~MainWindow() {
  if (hwnd_ && IsWindow(hwnd_)) DestroyWindow(hwnd_);
}

bool MainWindow::create(int showCommand) {
  WNDCLASSEXW wc{sizeof wc};
  wc.lpfnWndProc = wndProc;
  wc.hInstance = instance_;
  wc.hIcon = LoadIconW(instance_, MAKEINTRESOURCEW(IDI_QUENLIT));
  wc.hIconSm = wc.hIcon;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.style = CS_HREDRAW | CS_VREDRAW;
  wc.hbrBackground = theme_.windowBrush();
  wc.lpszClassName = kMainClass;
  if (!RegisterClassExW(&wc)) return false;

  // Always on top, sizable, minimizable, not maximizable; the caption is
  // kInitialCaption until the start-up finds the target CAD's name.
  hwnd_ = CreateWindowExW(WS_EX_TOPMOST | WS_EX_CONTROLPARENT, kMainClass, wide(kInitialCaption).c_str(),
                          WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_THICKFRAME | WS_CLIPCHILDREN,
                          CW_USEDEFAULT, CW_USEDEFAULT, 300, 500, nullptr, nullptr, instance_, this);
  if (!hwnd_) return false;
  timer1_.attach(hwnd_);
  bridges_.setHookTarget(hwnd_);
  placeAtStart();
  applyFonts();
  layout();
  form_.FormCreate();
  ShowWindow(hwnd_, showCommand);
  UpdateWindow(hwnd_);
  return true;
}

bool MainWindow::preTranslate(MSG& msg) { return hwnd_ && IsDialogMessageW(hwnd_, &msg); }

LRESULT CALLBACK MainWindow::wndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    auto* self = static_cast<MainWindow*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
    self->hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<MainWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!self) return DefWindowProcW(hwnd, msg, wp, lp);
  return self->handle(msg, wp, lp);
}

LRESULT MainWindow::handle(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_CREATE:
      Theme::darkenTitleBar(hwnd_);
      createControls();
      createMenus();
      return 0;
    case WM_SIZE:
      layout();
      return 0;
    case WM_SETCURSOR:
      if (busy_ && LOWORD(lp) == HTCLIENT) {
        SetCursor(LoadCursorW(nullptr, IDC_WAIT));
        return TRUE;
      }
      return DefWindowProcW(hwnd_, msg, wp, lp);
    case WM_GETMINMAXINFO: {
      // No smaller than what keeps every button, a few outline rows and a few
      // pane lines in view.
      RECT r{0, 0, scale(layout::kMinWidth, dpi_), scale(minClientHeight(panels_), dpi_)};
      AdjustWindowRectExForDpi(&r, DWORD(GetWindowLongPtrW(hwnd_, GWL_STYLE)), FALSE,
                               DWORD(GetWindowLongPtrW(hwnd_, GWL_EXSTYLE)), dpi_);
      auto* mm = reinterpret_cast<MINMAXINFO*>(lp);
      mm->ptMinTrackSize.x = r.right - r.left;
      mm->ptMinTrackSize.y = r.bottom - r.top;
      return 0;
    }
    case WM_DPICHANGED: {
      dpi_ = HIWORD(wp);
      const RECT* r = reinterpret_cast<const RECT*>(lp);
      applyFonts();
      SetWindowPos(hwnd_, nullptr, r->left, r->top, r->right - r->left, r->bottom - r->top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
      layout();
      return 0;
    }
    case WM_COMMAND:
      onCommand(LOWORD(wp), HIWORD(wp), reinterpret_cast<HWND>(lp));
      return 0;
    case WM_NOTIFY:
      return onNotify(*reinterpret_cast<NMHDR*>(lp));
    case WM_DROPFILES:
      onDropFiles(reinterpret_cast<HDROP>(wp));
      return 0;
    case WM_CONTEXTMENU: {
      HWND from = reinterpret_cast<HWND>(wp);
      if (from == item(kIdTreeView1)) popup(popupMenu1_.get(), from, lp);
      else if (from == item(kIdListBox1)) popup(popupMenu2_.get(), from, lp);
      else return DefWindowProcW(hwnd_, msg, wp, lp);
      return 0;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
      return reinterpret_cast<LRESULT>(onColor(msg, reinterpret_cast<HDC>(wp), reinterpret_cast<HWND>(lp)));
    case WM_DRAWITEM:
      theme_.drawButton(*reinterpret_cast<const DRAWITEMSTRUCT*>(lp));
      return TRUE;
    case kMsgSplitterMoved:
      onSplitter(int(wp), int(lp));
      return 0;
    case kMsgTreeClick:
      form_.TreeView1Click();
      return 0;
    case kMsgEdit1Click:
      form_.Edit1Click();
      return 0;
    case kMsgMemoDblClick:
      form_.Memo2DblClick();
      return 0;
    case kMsgButton3Right:
      form_.Button3MouseDown(true);
      return 0;
    case kWmHookKey:
      form_.hookKey(LOWORD(wp), LOWORD(lp), HIWORD(lp) != 0);
      return 0;
    case WM_TIMER:
      if (wp == timer1_.id()) form_.Timer1Timer();
      return 0;
    case WM_DESTROY:
      if (!destroyed_) {
        destroyed_ = true;
        form_.FormDestroy();
      }
      tooltip_.reset();  // it has no owner window to take it along
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcW(hwnd_, msg, wp, lp);
}

void MainWindow::onCommand(int id, int code, HWND control) {
  if (onJumpCommand(id, code, control)) return;
  if (control && code == BN_CLICKED) {
    switch (id) {
      case kIdButton1: form_.Button1Click(); return;
      case kIdButton2: form_.Button2Click(); return;
      case kIdButton4: form_.Button4Click(); return;
      case kIdButton5: form_.Button5Click(); return;
      case kIdButton6: form_.Button6Click(); return;
      case kIdButton7: form_.Button7Click(); return;
      case kIdButton10: form_.Button10Click(); return;
      case kIdButton11: form_.Button11Click(); return;
      case kIdButton12: form_.Button12Click(); return;
      case kIdCheckBox2: form_.CheckBox2Click(); return;
      case kIdCheckBox3: form_.Button11Click(); return;
      case kIdButton3: form_.Button3Click(); return;
      case kIdButton8: form_.Button8Click(); return;
      case kIdSpeedButton4: form_.SpeedButton4Click(false); return;
      case kIdSpeedButton5: form_.SpeedButton4Click(true); return;
      default: return;
    }
  }
  if (control) {
    switch (id) {
      case kIdComboBox1:
        if (code == CBN_SELCHANGE) {
          editorIndex_ = int(SendMessageW(control, CB_GETCURSEL, 0, 0));
        } else if (code == CBN_EDITCHANGE) {
          editorIndex_ = editorIndexForText(text(windowText(control)));
        }
        return;
      case kIdMemo2:
        if (code == EN_CHANGE) pane_.controlChanged();
        return;
      case kIdEdit2:
        if (code == EN_SETFOCUS) closeInputMethod(control);
        return;
    }
    return;
  }
  switch (id) {  // menus
    case kIdN18:
    case kIdN20: form_.N18Click(); return;
    case kIdCTRLG2:
    case kIdCTRLG4: form_.CTRLG2Click(); return;
    case kIdALTG1:
    case kIdALTG2: form_.ALTG1Click(); return;
    case kIdCAD1: form_.CAD1Click(); return;
    case kIdCAD2: form_.CAD2Click(); return;
    case kIdCAD3:
    case kIdCAD4: form_.CAD3Click(); return;
    default: return;
  }
}

LRESULT MainWindow::onNotify(NMHDR& hdr) {
  if (hdr.idFrom != UINT_PTR(kIdTreeView1)) return 0;
  switch (hdr.code) {
    case NM_CUSTOMDRAW: {
      // The selected row while the outline has no focus: the control's own light
      // colours under the silver text would make it unreadable.
      auto& cd = reinterpret_cast<NMTVCUSTOMDRAW&>(hdr);
      if (cd.nmcd.dwDrawStage == CDDS_PREPAINT) return CDRF_NOTIFYITEMDRAW;
      if (cd.nmcd.dwDrawStage == CDDS_ITEMPREPAINT && (cd.nmcd.uItemState & CDIS_SELECTED) &&
          GetFocus() != hdr.hwndFrom) {
        cd.clrText = colors::kWhite;
        cd.clrTextBk = colors::kInactiveSelection;
      }
      return CDRF_DODEFAULT;
    }
    case NM_CLICK:
      // The tree moves its selection after this notification; describe the row then.
      PostMessageW(hwnd_, kMsgTreeClick, 0, 0);
      return 0;
    case NM_DBLCLK:
      form_.TreeView1DblClick();
      return 0;
    case NM_RETURN:
      return 0;
    case TVN_BEGINLABELEDITW:
      return TRUE;  // read-only
  }
  return 0;
}

void MainWindow::onDropFiles(HDROP handle) {
  TextList paths;
  {
    // Released whether or not a file is taken.
    Unique<HDROP, DragFinish> drop(handle);
    const UINT count = DragQueryFileW(drop.get(), 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
      const UINT n = DragQueryFileW(drop.get(), i, nullptr, 0);
      std::wstring p(size_t(n) + 1, L'\0');
      DragQueryFileW(drop.get(), i, p.data(), n + 1);
      p.resize(n);
      paths.push_back(text(p));
    }
  }
  form_.dropFiles(paths);
}

HBRUSH MainWindow::onColor(UINT msg, HDC dc, HWND control) {
  const int id = GetDlgCtrlID(control);
  if (id == kIdEdit1) return theme_.colorField(dc, colors::kSilver);
  if (msg == WM_CTLCOLOREDIT || msg == WM_CTLCOLORLISTBOX) return theme_.colorField(dc, colors::kText);
  return theme_.colorStatic(dc, id == kIdCheckBox1 ? colors::kWhite : colors::kText);
}

void MainWindow::onSplitter(int id, int dy) {
  RECT c;
  GetClientRect(hwnd_, &c);
  const int px = MulDiv(dy, 96, int(dpi_));
  const int height = MulDiv(c.bottom, 96, int(dpi_));
  if (id == kIdSplitter2) panels_ = moveSplitter2(panels_, px, height);
  if (id == kIdSplitter1) panels_ = moveSplitter1(panels_, px, height);
  layout();
}

LRESULT CALLBACK MainWindow::controlProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR self) {
  bool done = false;
  LRESULT r = reinterpret_cast<MainWindow*>(self)->handleControl(hwnd, msg, wp, lp, done);
  if (msg == WM_NCDESTROY) RemoveWindowSubclass(hwnd, controlProc, UINT_PTR(GetDlgCtrlID(hwnd)));
  return done ? r : DefSubclassProc(hwnd, msg, wp, lp);
}

LRESULT MainWindow::handleControl(HWND ctl, UINT msg, WPARAM wp, LPARAM lp, bool& done) {
  const int id = GetDlgCtrlID(ctl);
  switch (id) {
    case kIdEdit1:
      if (msg == WM_LBUTTONUP) PostMessageW(hwnd_, kMsgEdit1Click, 0, 0);
      break;
    case kIdButton3:
      if (msg == WM_RBUTTONDOWN) PostMessageW(hwnd_, kMsgButton3Right, 0, 0);  // Button3MouseDown
      break;
    case kIdEdit2:
      if (msg == WM_GETDLGCODE && wp == VK_RETURN) {
        done = true;
        return DLGC_WANTALLKEYS | DefSubclassProc(ctl, msg, wp, lp);
      }
      if (msg == WM_CHAR && form_.Edit2KeyPress(char16_t(wp))) {
        done = true;  // Enter is swallowed: no beep
        return 0;
      }
      break;
    case kIdTreeView1:
      if (msg == WM_GETDLGCODE && wp == VK_RETURN) {
        done = true;
        return DLGC_WANTALLKEYS | DefSubclassProc(ctl, msg, wp, lp);
      }
      if (msg == WM_CHAR && form_.TreeView1KeyPress(char16_t(wp))) {
        done = true;
        return 0;
      }
      if (msg == WM_KEYUP) PostMessageW(hwnd_, kMsgTreeClick, 0, 0);  // TreeView1KeyUp
      break;
    case kIdListBox1:
      return handleJumpList(msg, wp, lp, done);
    case kIdMemo2:
      if (msg == WM_LBUTTONDBLCLK) PostMessageW(hwnd_, kMsgMemoDblClick, 0, 0);
      if (msg == WM_CONTEXTMENU) {
        popup(popupMenu3_.get(), ctl, lp);
        done = true;
        return 0;
      }
      break;
  }
  return 0;
}

// ---------------------------------------------------------------- the seams of MainViews

void MainWindow::setCaption(TextView caption) { SetWindowTextW(hwnd_, wide(caption).c_str()); }
void MainWindow::setFileNameText(TextView name) { SetWindowTextW(item(kIdEdit1), wide(name).c_str()); }
void MainWindow::setEncodingLabel(TextView label) { SetWindowTextW(item(kIdLabel1), wide(label).c_str()); }

void MainWindow::acceptDroppedFiles() { DragAcceptFiles(hwnd_, TRUE); }

void MainWindow::setEditorIndex(int index) {
  const bool valid = index >= 0 && index < int(SendMessageW(item(kIdComboBox1), CB_GETCOUNT, 0, 0));
  editorIndex_ = valid ? index : -1;
  SendMessageW(item(kIdComboBox1), CB_SETCURSEL, WPARAM(editorIndex_), 0);
}

bool MainWindow::jumpChecked() const {
  return SendMessageW(item(kIdCheckBox1), BM_GETCHECK, 0, 0) == BST_CHECKED;
}
void MainWindow::setJumpChecked(bool c) {
  SendMessageW(item(kIdCheckBox1), BM_SETCHECK, c ? BST_CHECKED : BST_UNCHECKED, 0);
}
bool MainWindow::reloadChecked() const {
  return SendMessageW(item(kIdCheckBox2), BM_GETCHECK, 0, 0) == BST_CHECKED;
}
void MainWindow::setReloadChecked(bool c) {
  SendMessageW(item(kIdCheckBox2), BM_SETCHECK, c ? BST_CHECKED : BST_UNCHECKED, 0);
}
Text MainWindow::searchText() const { return text(windowText(item(kIdEdit2))); }
bool MainWindow::orderMode() const { return SendMessageW(item(kIdCheckBox3), BM_GETCHECK, 0, 0) == BST_CHECKED; }

std::optional<Text> MainWindow::runOpenDialog() {
  std::wstring file(32768, L'\0');
  const std::wstring start = wide(openDialogName_);
  if (start.size() < file.size()) std::copy(start.begin(), start.end(), file.begin());
  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = hwnd_;
  ofn.lpstrFilter = L"*.lsp\0*.lsp\0";
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = file.data();
  ofn.nMaxFile = DWORD(file.size());
  ofn.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;
  if (!GetOpenFileNameW(&ofn)) return std::nullopt;
  file.resize(wcslen(file.c_str()));
  openDialogName_ = text(file);
  return openDialogName_;
}

void MainWindow::showFileError(TextView path, const FileError& error) { showFileErrorBox(hwnd_, path, error); }

void MainWindow::showMessage(TextView t) {
  MessageBoxW(hwnd_, wide(t).c_str(), wide(kAppTitle).c_str(), MB_OK);
}

void MainWindow::showInformation(TextView t) {
  MessageBoxW(hwnd_, wide(t).c_str(), wide(kAppTitle).c_str(), MB_OK | MB_ICONINFORMATION);
}

bool MainWindow::askYesNo(const Question& q) {
  const std::wstring title = wide(q.title.empty() ? kAppTitle : TextView(q.title));
  HWND owner = q.ownedByPane ? item(kIdMemo2) : hwnd_;
  return MessageBoxW(owner, wide(q.text).c_str(), title.c_str(), MB_YESNO | MB_ICONQUESTION) == IDYES;
}

HistoryChoice MainWindow::showHistoryDialog(const TextList& entries) { return history_.show(hwnd_, entries); }

void MainWindow::setBusy(bool busy) {
  busy_ = busy;
  if (busy) {
    SetCursor(LoadCursorW(nullptr, IDC_WAIT));
  } else {
    // A mouse move in place has the control under the pointer choose its own cursor again.
    POINT p;
    if (GetCursorPos(&p)) SetCursorPos(p.x, p.y);
  }
}

void MainWindow::processMessages() {
  // Only painting: a click queued meanwhile runs after the load, not inside it.
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE | PM_QS_PAINT)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

void MainWindow::openAddress(TextView address) {
  // A failure is not shown to the user.
  if (INT_PTR(ShellExecuteW(hwnd_, L"open", wide(address).c_str(), L"", L"", SW_SHOWNORMAL)) <= 32)
    trace(L"ShellExecuteW");
}

void MainWindow::openInNotepad(TextView path) {
  if (INT_PTR(ShellExecuteW(hwnd_, L"open", L"Notepad", wide(path).c_str(), L"", SW_SHOWNORMAL)) <= 32)
    trace(L"ShellExecuteW");
}

}  // namespace quenlit::win
