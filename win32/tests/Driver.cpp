#include "Driver.h"

#include <commctrl.h>
#include <shlobj.h>

#include <csignal>
#include <cstdio>
#include <fstream>
#include <mutex>
#include <random>
#include <sstream>
#include <thread>

#include "win32/base/Ids.h"

namespace quenlit::e2e {

namespace {

std::wstring quote(const std::wstring& s) { return L"\"" + s + L"\""; }

// Memory in the program's address space, for messages whose pointers are not
// carried across processes.
class Remote {
 public:
  Remote(HANDLE process, size_t size)
      : process_(process), p_(VirtualAllocEx(process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE)) {}
  ~Remote() {
    if (p_ && owned_) VirtualFreeEx(process_, p_, 0, MEM_RELEASE);
  }
  Remote(const Remote&) = delete;
  Remote& operator=(const Remote&) = delete;
  void* get() const { return p_; }
  void write(const void* data, size_t n, size_t offset = 0) const {
    WriteProcessMemory(process_, static_cast<char*>(p_) + offset, data, n, nullptr);
  }
  void read(void* data, size_t n, size_t offset = 0) const {
    ReadProcessMemory(process_, static_cast<char*>(p_) + offset, data, n, nullptr);
  }
  void handOver() { owned_ = false; }  // the program frees it

 private:
  HANDLE process_;
  void* p_;
  bool owned_ = true;
};

struct FindArgs {
  DWORD pid;
  const wchar_t* cls;
  const std::wstring* title;
  HWND found = nullptr;
};

// A double-click as the mouse gives it: down, up, double-click, up.
void postDoubleClick(HWND hwnd, POINT p) {
  const LPARAM at = MAKELPARAM(p.x, p.y);
  PostMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, at);
  PostMessageW(hwnd, WM_LBUTTONUP, 0, at);
  PostMessageW(hwnd, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
  PostMessageW(hwnd, WM_LBUTTONUP, 0, at);
}

BOOL CALLBACK findWindowOf(HWND hwnd, LPARAM lp) {
  auto* a = reinterpret_cast<FindArgs*>(lp);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  if (pid != a->pid || !IsWindowVisible(hwnd)) return TRUE;
  if (a->cls) {
    wchar_t cls[256] = L"";
    GetClassNameW(hwnd, cls, 256);
    if (wcscmp(cls, a->cls) != 0) return TRUE;
  }
  if (a->title && windowText(hwnd) != *a->title) return TRUE;
  a->found = hwnd;
  return FALSE;
}

// The programs a test has started, ended by the driver when it crashes: left
// running, they would keep the test's output open until the time limit, and
// their windows would meet the next test. (A job killed on close was tried: on
// one run under Wine two programs started into it ended before showing a
// window, which was never seen without it.)
class Started {
 public:
  static void add(HANDLE process) {
    static const bool installed = [] {
      SetUnhandledExceptionFilter(onCrash);
      signal(SIGABRT, onAbort);
      return true;
    }();
    (void)installed;
    std::lock_guard<std::mutex> lock(mutex_);
    live_.push_back(process);
  }
  static void remove(HANDLE process) {
    std::lock_guard<std::mutex> lock(mutex_);
    std::erase(live_, process);
  }

 private:
  static LONG WINAPI onCrash(EXCEPTION_POINTERS*) {
    endAll();
    return EXCEPTION_CONTINUE_SEARCH;  // the crash report still follows
  }
  static void onAbort(int) { endAll(); }
  static void endAll() {
    if (!mutex_.try_lock()) return;  // the crash came while the list changed
    for (HANDLE h : live_) TerminateProcess(h, 99);
    mutex_.unlock();
  }
  static inline std::mutex mutex_;
  static inline std::vector<HANDLE> live_;
};

}  // namespace

fs::path binDir() {
  wchar_t buf[MAX_PATH];
  GetModuleFileNameW(nullptr, buf, MAX_PATH);
  return fs::path(buf).parent_path();
}

fs::path projectRoot() { return fs::path(QUENLIT_TEST_ROOT); }

std::wstring windowText(HWND hwnd) {
  // WM_GETTEXT is carried across processes; GetWindowText would not ask the program.
  const LRESULT n = SendMessageW(hwnd, WM_GETTEXTLENGTH, 0, 0);
  std::wstring s(size_t(n) + 1, L'\0');
  const LRESULT got = SendMessageW(hwnd, WM_GETTEXT, WPARAM(n + 1), reinterpret_cast<LPARAM>(s.data()));
  s.resize(size_t(got));
  return s;
}

std::vector<std::wstring> listBoxTexts(HWND list) {
  // LB_GETTEXT takes no size, and the program may change the list between the
  // length and the text (it rebuilds the jump list on every add): the room to
  // spare keeps a longer entry inside the buffer, and a list that changed while
  // it was read is read again.
  constexpr size_t kSpare = 4096;
  for (int attempt = 0;; ++attempt) {
    std::vector<std::wstring> texts;
    const LRESULT n = SendMessageW(list, LB_GETCOUNT, 0, 0);
    bool steady = n != LB_ERR;
    for (LRESULT i = 0; steady && i < n; ++i) {
      const LRESULT len = SendMessageW(list, LB_GETTEXTLEN, WPARAM(i), 0);
      std::wstring t(len == LB_ERR ? 0 : size_t(len) + kSpare, L'\0');
      const LRESULT got =
          len == LB_ERR ? LB_ERR : SendMessageW(list, LB_GETTEXT, WPARAM(i), reinterpret_cast<LPARAM>(t.data()));
      steady = got != LB_ERR && got == len;
      t.resize(steady ? size_t(got) : 0);
      texts.push_back(std::move(t));
    }
    if ((steady && SendMessageW(list, LB_GETCOUNT, 0, 0) == n) || attempt == 20) return texts;
    Sleep(10);
  }
}

std::vector<std::wstring> splitLines(const std::wstring& t) {
  std::vector<std::wstring> lines;
  size_t start = 0, i = 0;
  while (i < t.size()) {
    if (t[i] == L'\r' || t[i] == L'\n') {
      lines.push_back(t.substr(start, i - start));
      i += (t[i] == L'\r' && i + 1 < t.size() && t[i + 1] == L'\n') ? 2 : 1;
      start = i;
    } else {
      ++i;
    }
  }
  if (start < t.size()) lines.push_back(t.substr(start));
  return lines;
}

std::wstring fromUtf8(const std::string& s) {
  if (s.empty()) return {};
  const int n = MultiByteToWideChar(CP_UTF8, 0, s.data(), int(s.size()), nullptr, 0);
  std::wstring w(size_t(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, s.data(), int(s.size()), w.data(), n);
  return w;
}

std::string toUtf8(const std::wstring& w) {
  if (w.empty()) return {};
  const int n = WideCharToMultiByte(CP_UTF8, 0, w.data(), int(w.size()), nullptr, 0, nullptr, nullptr);
  std::string s(size_t(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, w.data(), int(w.size()), s.data(), n, nullptr, nullptr);
  return s;
}

bool waitFor(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
  const auto end = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    if (done()) return true;
    if (std::chrono::steady_clock::now() > end) return false;
    std::this_thread::sleep_for(25ms);
  }
}

// ---------------------------------------------------------------- Scratch

Scratch::Scratch(bool withDataFiles) {
  wchar_t tmp[MAX_PATH];
  GetTempPathW(MAX_PATH, tmp);
  std::random_device rd;
  dir = fs::path(tmp) / (L"quenlit-e2e-" + std::to_wstring(rd()) + std::to_wstring(GetCurrentProcessId()));
  fs::create_directories(dir);
  fs::copy_file(binDir() / "QuenlitX.exe", dir / "QuenlitX.exe");
  if (withDataFiles) {
    for (const auto& e : fs::directory_iterator(binDir()))
      if (e.path().extension() == ".txt") fs::copy_file(e.path(), dir / e.path().filename());
  }
}

Scratch::~Scratch() {
  std::error_code ec;
  for (int i = 0; i < 20; ++i) {  // the program may still be letting go of its files
    fs::remove_all(dir, ec);
    if (!ec) return;
    Sleep(100);
  }
}

void Scratch::write(const std::string& name, const std::string& bytes) const {
  std::ofstream out(file(name), std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), std::streamsize(bytes.size()));
}

void Scratch::readInto(const fs::path& p, std::string& appendTo) {
  std::ifstream in(p, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  appendTo += s.str();
}

std::string Scratch::read(const std::string& name) const {
  std::ifstream in(file(name), std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

// ---------------------------------------------------------------- Program

Program::Program(const fs::path& exe, const std::wstring& args, const fs::path& folder, const wchar_t* mainClass,
                 std::chrono::milliseconds wait, std::chrono::milliseconds closeWait)
    : closeWait_(closeWait) {
  std::wstring cmd = quote(exe.wstring()) + (args.empty() ? L"" : L" " + args);
  STARTUPINFOW si{};
  si.cb = sizeof si;
  if (!CreateProcessW(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      folder.empty() ? nullptr : folder.c_str(), &si, &pi_)) {
    fprintf(stderr, "%s did not start: error %lu\n", toUtf8(exe.filename().wstring()).c_str(), GetLastError());
    return;
  }
  Started::add(pi_.hProcess);
  const auto started = std::chrono::steady_clock::now();
  waitFor([&] { return (main_ = find(mainClass)) != nullptr || !running(); }, wait);
  if (!main_) {
    // Said here once, so that every test that needs the window tells why it is missing.
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - started);
    fprintf(stderr, "%s showed no window after %lld ms: %s (exit code 0x%lx)\n",
            toUtf8(exe.filename().wstring()).c_str(), static_cast<long long>(ms.count()),
            running() ? "still running" : "ended", exitCode());
  }
}

Program::~Program() {
  if (!pi_.hProcess) return;
  if (running() && !close(closeWait_)) {
    TerminateProcess(pi_.hProcess, 99);
    WaitForSingleObject(pi_.hProcess, 5000);
  }
  Started::remove(pi_.hProcess);
  CloseHandle(pi_.hThread);
  CloseHandle(pi_.hProcess);
}

bool Program::running() const { return pi_.hProcess && WaitForSingleObject(pi_.hProcess, 0) == WAIT_TIMEOUT; }

HWND Program::find(const wchar_t* cls, const std::wstring* title) const {
  FindArgs a{pi_.dwProcessId, cls, title};
  EnumWindows(findWindowOf, reinterpret_cast<LPARAM>(&a));
  return a.found;
}

bool Program::close(std::chrono::milliseconds timeout) {
  if (!pi_.hProcess) return false;
  if (main_) PostMessageW(main_, WM_CLOSE, 0, 0);
  return WaitForSingleObject(pi_.hProcess, DWORD(timeout.count())) == WAIT_OBJECT_0;
}

DWORD Program::exitCode() const {
  DWORD code = STILL_ACTIVE;
  GetExitCodeProcess(pi_.hProcess, &code);
  return code;
}

// ---------------------------------------------------------------- App

App::App(const fs::path& folder)
    : program_(folder / "QuenlitX.exe", L"", folder, win::kMainClass, 60s, 15s) {}

bool App::checked(int id) const { return SendMessageW(control(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }

void App::click(int id) {
  DWORD_PTR r;
  SendMessageTimeoutW(control(id), BM_CLICK, 0, 0, SMTO_NORMAL, 60000, &r);
}

void App::clickAsync(int id) { PostMessageW(control(id), BM_CLICK, 0, 0); }

void App::command(int menuId) { PostMessageW(main(), WM_COMMAND, MAKEWPARAM(menuId, 0), 0); }

void App::setText(int id, const std::wstring& t) {
  SendMessageW(control(id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(t.c_str()));
}

void App::pressEnter(int id) { PostMessageW(control(id), WM_CHAR, VK_RETURN, 1); }

void App::type(int id, const std::wstring& t) {
  for (wchar_t c : t) PostMessageW(control(id), WM_CHAR, c, 1);
}

void App::selectEditor(int index) {
  HWND combo = control(win::kIdComboBox1);
  SendMessageW(combo, CB_SETCURSEL, WPARAM(index), 0);
  SendMessageW(main(), WM_COMMAND, MAKEWPARAM(win::kIdComboBox1, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
}

void App::drop(const std::vector<fs::path>& files) {
  std::wstring names;
  for (const auto& f : files) names += f.wstring() + L'\0';
  names += L'\0';
  DROPFILES df{};
  df.pFiles = sizeof df;
  df.fWide = TRUE;
  Remote block(program_.process(), sizeof df + names.size() * sizeof(wchar_t));
  block.write(&df, sizeof df);
  block.write(names.data(), names.size() * sizeof(wchar_t), sizeof df);
  block.handOver();
  PostMessageW(main(), WM_DROPFILES, reinterpret_cast<WPARAM>(block.get()), 0);
}

std::vector<TreeRow> App::tree() const {
  HWND tv = control(win::kIdTreeView1);
  std::vector<TreeRow> rows;
  Remote mem(program_.process(), sizeof(TVITEMW) + 512 * sizeof(wchar_t));
  auto* remoteText = reinterpret_cast<wchar_t*>(static_cast<char*>(mem.get()) + sizeof(TVITEMW));
  std::function<void(HTREEITEM, int)> walk = [&](HTREEITEM item, int level) {
    for (; item; item = TreeView_GetNextSibling(tv, item)) {
      TVITEMW it{};
      it.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_HANDLE;
      it.hItem = item;
      it.pszText = remoteText;
      it.cchTextMax = 512;
      mem.write(&it, sizeof it);
      SendMessageW(tv, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(mem.get()));
      mem.read(&it, sizeof it);
      wchar_t buf[512] = L"";
      mem.read(buf, sizeof buf, sizeof(TVITEMW));
      buf[511] = 0;
      rows.push_back(TreeRow{level, buf, it.iImage, item});
      walk(TreeView_GetChild(tv, item), level + 1);
    }
  };
  walk(TreeView_GetRoot(tv), 0);
  return rows;
}

void App::selectTreeRow(HTREEITEM item) { TreeView_SelectItem(control(win::kIdTreeView1), item); }

POINT App::treeRowPoint(HTREEITEM item) const {
  HWND tv = control(win::kIdTreeView1);
  TreeView_EnsureVisible(tv, item);  // scrolled to, as a user would
  Remote mem(program_.process(), sizeof(RECT));
  RECT r{};
  memcpy(&r, &item, sizeof item);  // the item goes in, the rectangle comes back
  mem.write(&r, sizeof r);
  SendMessageW(tv, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(mem.get()));
  mem.read(&r, sizeof r);
  return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

void App::clickTreeRow(HTREEITEM item) {
  const POINT p = treeRowPoint(item);
  HWND tv = control(win::kIdTreeView1);
  PostMessageW(tv, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(p.x, p.y));
  PostMessageW(tv, WM_LBUTTONUP, 0, MAKELPARAM(p.x, p.y));
}

void App::doubleClickTreeRow(HTREEITEM item) { postDoubleClick(control(win::kIdTreeView1), treeRowPoint(item)); }

std::vector<std::wstring> App::jumpList() const { return listBoxTexts(control(win::kIdListBox1)); }

std::optional<size_t> App::jumpListSelection() const {
  const LRESULT i = SendMessageW(control(win::kIdListBox1), LB_GETCURSEL, 0, 0);
  return i == LB_ERR ? std::nullopt : std::optional<size_t>(size_t(i));
}

void App::selectJumpEntry(size_t index) { SendMessageW(control(win::kIdListBox1), LB_SETCURSEL, WPARAM(index), 0); }

POINT App::jumpEntryPoint(int index) const {
  // Rows of one height from the top row on; no pointer crosses the processes.
  HWND list = control(win::kIdListBox1);
  const int height = int(SendMessageW(list, LB_GETITEMHEIGHT, 0, 0));
  const int top = int(SendMessageW(list, LB_GETTOPINDEX, 0, 0));
  return POINT{20, (index - top) * height + height / 2};
}

void App::dragJumpEntry(int from, int to) {
  HWND list = control(win::kIdListBox1);
  const int count = int(SendMessageW(list, LB_GETCOUNT, 0, 0));
  const POINT a = jumpEntryPoint(from);
  POINT b = jumpEntryPoint(to < 0 ? count : to);
  if (to < 0) b.y += 4;  // clear of the last entry
  PostMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(a.x, a.y));
  PostMessageW(list, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(a.x, (a.y + b.y) / 2));
  PostMessageW(list, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(b.x, b.y));
  PostMessageW(list, WM_LBUTTONUP, 0, MAKELPARAM(b.x, b.y));
}

void App::doubleClickJumpEntry(int index) { postDoubleClick(control(win::kIdListBox1), jumpEntryPoint(index)); }

void App::doubleClickPane(int line, int column) {
  HWND memo = control(kPaneId);
  const LRESULT start = SendMessageW(memo, EM_LINEINDEX, WPARAM(line), 0);
  const LRESULT pos = SendMessageW(memo, EM_POSFROMCHAR, WPARAM(start + column), 0);
  const POINT at{LOWORD(pos) + 2, HIWORD(pos) + 4};  // inside the character
  // As with a mouse: the window comes to the front and the pane takes the focus
  // with a first click; Wine's edit control selects words only once it has it.
  SetForegroundWindow(main());
  waitFor([&] { return GetForegroundWindow() == main(); }, 2s);
  PostMessageW(memo, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
  PostMessageW(memo, WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
  Sleep(100);
  postDoubleClick(memo, at);
}

std::optional<size_t> App::selectedTreeRow() const {
  HTREEITEM sel = TreeView_GetSelection(control(win::kIdTreeView1));
  const auto rows = tree();
  for (size_t i = 0; i < rows.size(); ++i)
    if (rows[i].item == sel) return i;
  return std::nullopt;
}

HWND App::findDialog(const std::wstring& title) const { return program_.find(L"#32770", &title); }

HWND App::waitDialog(const std::wstring& title, std::chrono::milliseconds timeout) const {
  HWND found = nullptr;
  waitFor([&] { return (found = findDialog(title)) != nullptr; }, timeout);
  return found;
}

HWND App::waitAnyDialog(std::chrono::milliseconds timeout) const {
  HWND found = nullptr;
  waitFor([&] { return (found = program_.find(L"#32770")) != nullptr; }, timeout);
  return found;
}

std::wstring App::messageText(HWND box) {
  // The text control of a message box: 0xFFFF on Windows, 100 under Wine.
  for (int id : {0xFFFF, 100}) {
    HWND t = GetDlgItem(box, id);
    if (t) {
      std::wstring s = windowText(t);
      if (!s.empty()) return s;
    }
  }
  return {};
}

void App::press(HWND dialog, int buttonId) {
  DWORD_PTR r;
  SendMessageTimeoutW(GetDlgItem(dialog, buttonId), BM_CLICK, 0, 0, SMTO_NORMAL, 10000, &r);
}

std::wstring App::infoBox(int menuId) {
  command(menuId);
  HWND box = waitDialog(L"QuenlitX");
  if (!box) return L"(no box)";
  std::wstring text = messageText(box);
  press(box, IDOK);
  if (!waitFor([&] { return !findDialog(L"QuenlitX"); })) text += L"(box stayed open)";
  return text;
}

bool App::topmost(HWND hwnd) const { return GetWindowLongPtrW(hwnd, GWL_EXSTYLE) & WS_EX_TOPMOST; }

bool App::close(std::chrono::milliseconds timeout) { return program_.close(timeout); }

DWORD App::exitCode() const { return program_.exitCode(); }

std::wstring clipboardText() {
  std::wstring t;
  for (int i = 0; i < 20 && !OpenClipboard(nullptr); ++i) Sleep(25);
  if (HANDLE h = GetClipboardData(CF_UNICODETEXT)) {
    if (const auto* p = static_cast<const wchar_t*>(GlobalLock(h))) {
      t = p;
      GlobalUnlock(h);
    }
  }
  CloseClipboard();
  return t;
}

// ---------------------------------------------------------------- StandIn

namespace {

fs::path standInLog(const fs::path& dir, const std::wstring& prefix) {
  std::random_device rd;
  return dir / (prefix + std::to_wstring(rd()) + L".log");
}

std::wstring quotedArgs(std::vector<std::wstring> first, const std::vector<std::wstring>& rest) {
  first.insert(first.end(), rest.begin(), rest.end());
  std::wstring line;
  for (const auto& a : first) line += (line.empty() ? L"" : L" ") + quote(a);
  return line;
}

}  // namespace

StandIn::StandIn(const std::wstring& kind, const fs::path& file, const std::vector<std::wstring>& options)
    : log_{standInLog(file.parent_path(), L"standin-")},
      program_(binDir() / "standin_editor.exe", quotedArgs({kind, file.wstring(), log_.path.wstring()}, options), {},
               nullptr, 30s, 5s) {}

std::vector<std::string> StandIn::log() const {
  std::ifstream in(log_.path, std::ios::binary);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

bool StandIn::waitLog(size_t count, std::chrono::milliseconds timeout) const {
  return waitFor([&] { return log().size() >= count; }, timeout);
}

// ---------------------------------------------------------------- StandInCad

// The object is in the running object table before the window shows.
StandInCad::StandInCad(const fs::path& dir, const std::vector<std::wstring>& options)
    : log_{standInLog(dir, L"standin-cad-")},
      program_(binDir() / "standin_cad.exe", quotedArgs({log_.path.wstring()}, options), {}, L"QuenlitStandInCad", 30s,
               5s) {}

std::wstring StandInCad::sent() const {
  std::string bytes;
  if (fs::exists(log_.path)) Scratch::readInto(log_.path, bytes);
  std::wstring out(bytes.size() / 2, L'\0');
  memcpy(out.data(), bytes.data(), out.size() * sizeof(wchar_t));
  return out;
}

bool StandInCad::waitSent(const std::wstring& text, std::chrono::milliseconds timeout) const {
  return waitFor([&] { return sent() == text; }, timeout);
}

// ---------------------------------------------------------------- DriverWindow

DriverWindow::DriverWindow(const wchar_t* cls, const RECT& r) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = cls;
  RegisterClassExW(&wc);
  hwnd_ = CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, cls, L"", WS_POPUP, r.left, r.top, r.right - r.left,
                          r.bottom - r.top, nullptr, nullptr, wc.hInstance, nullptr);
  ShowWindow(hwnd_, SW_SHOWNOACTIVATE);
}

DriverWindow::~DriverWindow() {
  if (hwnd_) DestroyWindow(hwnd_);
}

// ---------------------------------------------------------------- the command line tool

CliRun runCli(const std::vector<std::wstring>& args, const fs::path& exe) {
  CliRun run;
  SECURITY_ATTRIBUTES sa{sizeof sa, nullptr, TRUE};
  HANDLE readEnd = nullptr, writeEnd = nullptr;
  if (!CreatePipe(&readEnd, &writeEnd, &sa, 0)) return run;
  SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
  std::wstring cmd = quote(exe.wstring());
  for (const auto& a : args) cmd += L" " + quote(a);
  STARTUPINFOW si{};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESTDHANDLES;
  si.hStdOutput = writeEnd;
  si.hStdError = GetStdHandle(STD_ERROR_HANDLE);
  si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  PROCESS_INFORMATION pi{};
  const BOOL ok = CreateProcessW(exe.c_str(), cmd.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, nullptr,
                                 &si, &pi);
  CloseHandle(writeEnd);
  std::string out;
  if (ok) {
    char buf[4096];
    DWORD n = 0;
    while (ReadFile(readEnd, buf, sizeof buf, &n, nullptr) && n > 0) out.append(buf, n);
    WaitForSingleObject(pi.hProcess, 60000);
    DWORD code = 0;
    GetExitCodeProcess(pi.hProcess, &code);
    run.code = int(code);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
  }
  CloseHandle(readEnd);
  run.lines = splitLines(fromUtf8(out));
  return run;
}

OutlineRows cliOutline(const std::wstring& file, const fs::path& exe) {
  OutlineRows rows;
  for (const auto& l : runCli({L"outline", file}, exe).lines) {
    const size_t blanks = l.find_first_not_of(L' ');
    const size_t tab = l.find(L'\t');
    rows.push_back({int(blanks / 2), l.substr(blanks, tab == std::wstring::npos ? tab : tab - blanks)});
  }
  return rows;
}

OutlineRows shown(const std::vector<TreeRow>& rows) {
  OutlineRows r;
  for (const auto& row : rows) r.push_back({row.level, row.text});
  return r;
}

FileHold::FileHold(const fs::path& p)
    : h_(CreateFileW(p.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr)) {}

FileHold::~FileHold() {
  if (h_ != INVALID_HANDLE_VALUE) CloseHandle(h_);
}

}  // namespace quenlit::e2e
