// A stand-in for the external editors, built only for the end-to-end tests. It
// opens one top-level window with the class and the title form of the editor it
// plays, answers that editor's go-to-line shortcut the way the editor does (a
// dialog with the line field and buttons, or for VS Code an input that takes
// digits and Enter), and appends the line it would go to to a log file.
//
//   standin_editor KIND FILE LOG [options]
//   KIND     vscode | notepad | notepadpp | mery | terapad, or witness: a window
//            of no editor that logs every key reaching it
//   --slow MS            open the go-to dialog MS milliseconds after the shortcut
//   --minimized          start minimized
//   --show NAME          show the file NAME (beside FILE) instead of FILE
//   --title TEXT         use TEXT as the whole title
//   --key alt            VS Code: answer Alt+G instead of Ctrl+G
//   --close-on-activate  close as soon as another program brings it to the front
//   --log-keys           log every key that reaches it ("key 0x47")
//   --save-from PATH     Ctrl+S saves: FILE is held open without sharing for
//                        --hold MS (default 0), then given PATH's bytes and let go;
//                        the log gets "saved"
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <filesystem>
#include <string>

namespace {

enum class Kind { VSCode, Notepad, NotepadPP, Mery, TeraPad, Witness };

struct Options {
  Kind kind = Kind::Notepad;
  std::filesystem::path file, log;
  int slowMs = 0;
  bool minimized = false, altKey = false, closeOnActivate = false, logKeys = false;
  std::wstring show, title;
  std::filesystem::path saveFrom;
  int holdMs = 0;
};

struct Editor {
  const wchar_t* mainClass;
  wchar_t shortcut;
  const wchar_t* dialogClass;
  const wchar_t* dialogTitle;
  const wchar_t* fieldClass;
};

constexpr Editor kEditors[] = {
    {L"Chrome_WidgetWin_1", L'G', nullptr, nullptr, nullptr},
    {L"Notepad", L'G', L"StandInGoTo", L"行へ移動", L"Edit"},
    {L"Notepad++", L'G', L"StandInGoTo", L"指定位置へジャンプ...", L"Edit"},
    {L"TChildForm", L'G', L"TGoToLineForm", L"行へ移動", L"TSpinEditEx"},
    {L"TTeraPadMainForm", L'J', L"TFormJump", L"指定行へジャンプ", L"TComboBox"},
    {L"QuenlitWitness", 0, nullptr, nullptr, nullptr},
};

enum : int { kIdField = 10, kIdGo, kIdLineMode, kIdOffsetMode };
constexpr UINT_PTR kTimerDialog = 1, kTimerSave = 2;

Options g;
HINSTANCE g_instance;
HWND g_main, g_dialog;
std::wstring g_digits;
bool g_typing = false;
HANDLE g_saving = INVALID_HANDLE_VALUE;  // FILE, held while the save is under way

const Editor& editor() { return kEditors[int(g.kind)]; }

void appendLog(const std::string& line) {
  HANDLE h = CreateFileW(g.log.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                         nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return;
  const std::string text = line + "\n";
  DWORD written = 0;
  WriteFile(h, text.data(), DWORD(text.size()), &written, nullptr);
  CloseHandle(h);
}

std::string narrow(const std::wstring& w) {
  std::string s;
  for (wchar_t c : w) s += c < 128 ? char(c) : '?';
  return s;
}

std::wstring titleFor() {
  if (!g.title.empty()) return g.title;
  const std::filesystem::path shown = g.show.empty() ? g.file : g.file.parent_path() / g.show;
  const std::wstring name = shown.filename().wstring(), path = shown.wstring();
  switch (g.kind) {
    case Kind::VSCode:
      return L"● " + name + L" - " + shown.parent_path().filename().wstring() + L" - Visual Studio Code";
    case Kind::Notepad: return L"*" + name + L" - メモ帳";
    case Kind::NotepadPP: return L"*" + path + L" - Notepad++";
    case Kind::Mery: return path + L" - Mery";
    case Kind::TeraPad: return path + L" - TeraPad";
    case Kind::Witness: return L"witness";
  }
  return name;
}

void openDialog() {
  if (g_dialog) return;
  const Editor& e = editor();
  g_dialog = CreateWindowExW(WS_EX_DLGMODALFRAME, e.dialogClass, e.dialogTitle, WS_POPUP | WS_CAPTION | WS_VISIBLE,
                             120, 120, 300, 150, g_main, nullptr, g_instance, nullptr);
  auto child = [](const wchar_t* cls, const wchar_t* text, DWORD style, int x, int y, int w, int id) {
    return CreateWindowExW(0, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, 22, g_dialog,
                           reinterpret_cast<HMENU>(INT_PTR(id)), g_instance, nullptr);
  };
  child(L"STATIC", L"行番号", 0, 10, 10, 60, 0);
  child(e.fieldClass, L"1", WS_BORDER, 80, 10, 80, kIdField);
  switch (g.kind) {
    case Kind::Notepad: child(L"BUTTON", L"移動", BS_PUSHBUTTON, 180, 60, 80, kIdGo); break;
    case Kind::NotepadPP:
      // Opens in offset mode: the line only counts after "行(&L)" was clicked.
      child(L"BUTTON", L"行(&L)", BS_AUTORADIOBUTTON | WS_GROUP, 10, 40, 80, kIdLineMode);
      child(L"BUTTON", L"オフセット(&O)", BS_AUTORADIOBUTTON, 100, 40, 120, kIdOffsetMode);
      CheckDlgButton(g_dialog, kIdOffsetMode, BST_CHECKED);
      child(L"BUTTON", L"ジャンプ", BS_PUSHBUTTON, 180, 70, 80, kIdGo);
      break;
    default: child(L"BUTTON", L"OK", BS_PUSHBUTTON, 180, 60, 80, kIdGo); break;
  }
}

void dialogGo() {
  wchar_t buf[64] = L"";
  GetDlgItemTextW(g_dialog, kIdField, buf, 64);
  std::string entry = narrow(buf);
  if (g.kind == Kind::NotepadPP && IsDlgButtonChecked(g_dialog, kIdLineMode) != BST_CHECKED) entry = "offset " + entry;
  appendLog(entry);
  DestroyWindow(g_dialog);
  g_dialog = nullptr;
}

LRESULT CALLBACK dialogProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_COMMAND && LOWORD(wp) == kIdGo && HIWORD(wp) == BN_CLICKED) {
    dialogGo();
    return 0;
  }
  if (msg == WM_CLOSE) {
    DestroyWindow(h);
    g_dialog = nullptr;
    return 0;
  }
  return DefWindowProcW(h, msg, wp, lp);
}

bool down(int vk) { return GetKeyState(vk) < 0; }

// The save's second half: the new bytes go in, then the file is let go.
void finishSave() {
  if (g_saving == INVALID_HANDLE_VALUE) return;
  std::string bytes;
  if (HANDLE from = CreateFileW(g.saveFrom.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
      from != INVALID_HANDLE_VALUE) {
    char buf[65536];
    DWORD got = 0;
    while (ReadFile(from, buf, sizeof buf, &got, nullptr) && got > 0) bytes.append(buf, got);
    CloseHandle(from);
  }
  SetFilePointer(g_saving, 0, nullptr, FILE_BEGIN);
  DWORD written = 0;
  WriteFile(g_saving, bytes.data(), DWORD(bytes.size()), &written, nullptr);
  SetEndOfFile(g_saving);
  CloseHandle(g_saving);
  g_saving = INVALID_HANDLE_VALUE;
  appendLog("saved");
}

// Ctrl+S: the file is taken without sharing, as an editor writing it does.
void startSave() {
  if (g_saving != INVALID_HANDLE_VALUE) return;
  g_saving = CreateFileW(g.file.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  if (g_saving == INVALID_HANDLE_VALUE) return;
  if (g.holdMs > 0) SetTimer(g_main, kTimerSave, UINT(g.holdMs), nullptr);
  else finishSave();
}

void onKey(WPARAM vk, bool sys) {
  if (g.logKeys) {
    char line[32];
    std::snprintf(line, sizeof line, "key 0x%02X", unsigned(vk));
    appendLog(line);
  }
  const Editor& e = editor();
  if (g.kind == Kind::Witness) return;
  if (vk == 'S' && down(VK_CONTROL) && !g.saveFrom.empty()) {
    startSave();
    return;
  }
  if (g.kind != Kind::VSCode) {
    if (vk == WPARAM(e.shortcut) && down(VK_CONTROL)) {
      if (g.slowMs > 0) SetTimer(g_main, kTimerDialog, UINT(g.slowMs), nullptr);
      else openDialog();
    }
    return;
  }
  // VS Code: the go-to input takes digits until Enter.
  if (vk == 'G' && (g.altKey ? (sys || down(VK_MENU)) : down(VK_CONTROL))) {
    g_typing = true;
    g_digits.clear();
  } else if (g_typing && vk >= '0' && vk <= '9') {
    g_digits += wchar_t(vk);
  } else if (g_typing && vk == VK_RETURN) {
    g_typing = false;
    appendLog(narrow(g_digits));
  }
}

LRESULT CALLBACK mainProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_KEYDOWN:
      onKey(wp, false);
      return 0;
    case WM_SYSKEYDOWN:
      onKey(wp, true);
      return 0;
    case WM_SYSKEYUP:
    case WM_SYSCHAR:
      return 0;  // Alt+G must not open a window menu
    case WM_TIMER:
      if (wp == kTimerDialog) {
        KillTimer(h, kTimerDialog);
        openDialog();
      } else if (wp == kTimerSave) {
        KillTimer(h, kTimerSave);
        finishSave();
      }
      return 0;
    case WM_ACTIVATE:
      if (g.closeOnActivate && LOWORD(wp) != WA_INACTIVE) PostMessageW(h, WM_CLOSE, 0, 0);
      break;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcW(h, msg, wp, lp);
}

bool parse(int argc, wchar_t** argv) {
  if (argc < 4) return false;
  const std::wstring kind = argv[1];
  const wchar_t* kinds[] = {L"vscode", L"notepad", L"notepadpp", L"mery", L"terapad", L"witness"};
  bool known = false;
  for (int i = 0; i < 6; ++i)
    if (kind == kinds[i]) g.kind = Kind(i), known = true;
  if (!known) return false;
  g.logKeys = g.kind == Kind::Witness;
  g.file = argv[2];
  g.log = argv[3];
  for (int i = 4; i < argc; ++i) {
    const std::wstring a = argv[i];
    const bool hasValue = i + 1 < argc;
    if (a == L"--slow" && hasValue) g.slowMs = _wtoi(argv[++i]);
    else if (a == L"--minimized") g.minimized = true;
    else if (a == L"--show" && hasValue) g.show = argv[++i];
    else if (a == L"--title" && hasValue) g.title = argv[++i];
    else if (a == L"--key" && hasValue) g.altKey = std::wstring(argv[++i]) == L"alt";
    else if (a == L"--close-on-activate") g.closeOnActivate = true;
    else if (a == L"--log-keys") g.logKeys = true;
    else if (a == L"--save-from" && hasValue) g.saveFrom = argv[++i];
    else if (a == L"--hold" && hasValue) g.holdMs = _wtoi(argv[++i]);
    else return false;
  }
  return true;
}

void registerClass(const wchar_t* name, WNDPROC proc) {
  WNDCLASSEXW wc{sizeof wc};
  wc.lpfnWndProc = proc;
  wc.hInstance = g_instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = name;
  RegisterClassExW(&wc);
}

// A control class that behaves as an edit field under another editor's name.
void registerFieldClass(const wchar_t* name) {
  WNDCLASSEXW wc{sizeof wc};
  if (!GetClassInfoExW(nullptr, L"EDIT", &wc)) return;
  wc.cbSize = sizeof wc;
  wc.hInstance = g_instance;
  wc.lpszClassName = name;
  RegisterClassExW(&wc);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  g_instance = instance;
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  if (!argv || !parse(argc, argv)) return 2;
  LocalFree(argv);

  const Editor& e = editor();
  registerClass(e.mainClass, mainProc);
  if (e.dialogClass) registerClass(e.dialogClass, dialogProc);
  if (e.fieldClass && std::wcscmp(e.fieldClass, L"Edit") != 0) registerFieldClass(e.fieldClass);

  g_main = CreateWindowExW(0, e.mainClass, titleFor().c_str(), WS_OVERLAPPEDWINDOW, 300, 100, 500, 400, nullptr,
                           nullptr, instance, nullptr);
  if (!g_main) return 1;
  // Started behind the program under test; the jump has to bring it forward.
  ShowWindow(g_main, g.minimized ? SW_SHOWMINNOACTIVE : SW_SHOWNOACTIVATE);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}
