// Drives QuenlitX.exe from another process, the way a user does: it starts the
// program in a scratch folder, finds its window and controls, clicks, types,
// drops files, answers message boxes, reads what the controls show, and compares
// with what the command line tool prints for the same file.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace quenlit::e2e {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// The folder of the driver: QuenlitX.exe, quenlit.exe and the data files.
fs::path binDir();
fs::path projectRoot();  // the checkout, as Wine sees it (Z:)

// A fresh folder with a copy of QuenlitX.exe (and the data files when asked),
// removed at the end.
struct Scratch {
  explicit Scratch(bool withDataFiles = true);
  ~Scratch();
  fs::path dir;
  fs::path file(const std::string& name) const { return dir / name; }
  void write(const std::string& name, const std::string& bytes) const;
  static void readInto(const fs::path& p, std::string& appendTo);
  std::string read(const std::string& name) const;
  bool exists(const std::string& name) const { return fs::exists(file(name)); }
};

// Polls `done` until it holds or the time is up.
bool waitFor(const std::function<bool()>& done, std::chrono::milliseconds timeout = 20s);

std::wstring windowText(HWND hwnd);
std::vector<std::wstring> listBoxTexts(HWND list);  // read again while the program changes it
std::vector<std::wstring> splitLines(const std::wstring& text);  // CR LF, CR or LF; no final empty line
std::wstring fromUtf8(const std::string& s);
std::string toUtf8(const std::wstring& s);

struct TreeRow {
  int level = 0;
  std::wstring text;
  int image = -1;
  HTREEITEM item = nullptr;
};

// A program a test starts, owned until the test ends: its main window once it
// shows; at the end closed through that window, killed when it does not end in time.
class Program {
 public:
  // Runs `exe` with `args` in `folder` (the driver's own when empty) and waits up
  // to `wait` for its visible top-level window of class `mainClass` (any when
  // null), or for the process to end.
  Program(const fs::path& exe, const std::wstring& args, const fs::path& folder, const wchar_t* mainClass,
          std::chrono::milliseconds wait, std::chrono::milliseconds closeWait);
  ~Program();
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  HWND main() const { return main_; }
  HANDLE process() const { return pi_.hProcess; }
  bool running() const;
  // A visible top-level window of the program with this class (any when null)
  // and, when given, this title.
  HWND find(const wchar_t* cls, const std::wstring* title = nullptr) const;
  // WM_CLOSE to the main window, then wait for the process to end.
  bool close(std::chrono::milliseconds timeout);
  DWORD exitCode() const;

 private:
  PROCESS_INFORMATION pi_{};
  HWND main_ = nullptr;
  std::chrono::milliseconds closeWait_;
};

// A file removed when its owner goes (after the program writing it has ended,
// when declared before that program).
struct TempFile {
  fs::path path;
  ~TempFile() {
    std::error_code ec;
    fs::remove(path, ec);
  }
};

// One running QuenlitX.exe.
class App {
 public:
  explicit App(const Scratch& scratch) : App(scratch.dir) {}
  explicit App(const fs::path& folder);  // runs folder/QuenlitX.exe in that folder
  // At the end the program is closed if it still runs, and killed only if it does not end.
  App(const App&) = delete;
  App& operator=(const App&) = delete;

  bool started() const { return main() != nullptr; }
  HWND main() const { return program_.main(); }
  HWND control(int id) const { return GetDlgItem(main(), id); }
  std::wstring caption() const { return windowText(main()); }
  std::wstring text(int id) const { return windowText(control(id)); }
  bool checked(int id) const;
  std::vector<std::wstring> pane() const { return splitLines(text(kPaneId)); }

  // BM_CLICK that waits for the handler; use clickAsync when it opens a dialog.
  void click(int id);
  void clickAsync(int id);
  void command(int menuId);  // a menu item, posted
  void setText(int id, const std::wstring& text);
  void pressEnter(int id);   // WM_CHAR 13, posted
  void type(int id, const std::wstring& text);  // a WM_CHAR per character, posted
  void selectEditor(int index);

  // A DROPFILES block in the program's memory, posted as WM_DROPFILES.
  void drop(const std::vector<fs::path>& files);

  std::vector<TreeRow> tree() const;
  void selectTreeRow(HTREEITEM item);
  void clickTreeRow(HTREEITEM item);  // mouse down and up on the row
  void doubleClickTreeRow(HTREEITEM item);
  std::optional<size_t> selectedTreeRow() const;

  // The jump list: its texts, its selection, and a drag with the left button from
  // one entry onto another (`to` -1: the empty space below the last entry).
  std::vector<std::wstring> jumpList() const;
  std::optional<size_t> jumpListSelection() const;
  void selectJumpEntry(size_t index);
  void dragJumpEntry(int from, int to);
  void doubleClickJumpEntry(int index);

  // The result pane: a double-click on the character at `line` and `column`.
  void doubleClickPane(int line, int column);

  // A top-level dialog of the program with this title (message boxes included).
  HWND waitDialog(const std::wstring& title, std::chrono::milliseconds timeout = 20s) const;
  HWND findDialog(const std::wstring& title) const;
  HWND waitAnyDialog(std::chrono::milliseconds timeout = 20s) const;  // whatever its title
  static std::wstring messageText(HWND box);
  // The text of the information box a menu item opens, which is then closed with OK.
  std::wstring infoBox(int menuId);
  static void press(HWND dialog, int buttonId);

  bool topmost(HWND hwnd) const;
  // WM_CLOSE and wait for the process to end.
  bool close(std::chrono::milliseconds timeout = 30s);
  DWORD exitCode() const;

  static constexpr int kPaneId = 1062;

 private:
  POINT treeRowPoint(HTREEITEM item) const;
  POINT jumpEntryPoint(int index) const;

  Program program_;
};

// A stand-in editor (bin/standin_editor.exe) playing `kind` (vscode, notepad,
// notepadpp, mery, terapad) on `file`; the lines it went to are read from its log.
// The kind "witness" is no editor: it logs every key that reaches it.
class StandIn {
 public:
  StandIn(const std::wstring& kind, const fs::path& file, const std::vector<std::wstring>& options = {});
  StandIn(const StandIn&) = delete;
  StandIn& operator=(const StandIn&) = delete;

  HWND main() const { return program_.main(); }
  bool running() const { return program_.running(); }
  std::vector<std::string> log() const;
  // Waits until the log holds `count` lines; false when the time is up.
  bool waitLog(size_t count, std::chrono::milliseconds timeout = 10s) const;
  // A top-level window of the stand-in with this class, other than its main window.
  HWND findWindow(const std::wstring& cls) const { return program_.find(cls.c_str()); }

 private:
  TempFile log_;
  Program program_;
};

// The stand-in CAD (bin/standin_cad.exe) with its options (--minimized, --reject,
// --lack MEMBER, --hwnd-i4, --log-keys); what its SendCommand received (and with
// --log-keys each Esc, as the character 27) is read from its log.
class StandInCad {
 public:
  static constexpr wchar_t kProgId[] = L"QuenlitTest.StandInCad";
  explicit StandInCad(const fs::path& dir, const std::vector<std::wstring>& options = {});
  StandInCad(const StandInCad&) = delete;
  StandInCad& operator=(const StandInCad&) = delete;

  HWND main() const { return program_.main(); }
  std::wstring sent() const;  // every text, as received
  bool waitSent(const std::wstring& text, std::chrono::milliseconds timeout = 10s) const;

 private:
  TempFile log_;
  Program program_;
};

// A top-level window of this process with a class and a rectangle, for the
// windows the program looks for but only reads (the task bar).
class DriverWindow {
 public:
  DriverWindow(const wchar_t* cls, const RECT& r);
  ~DriverWindow();
  DriverWindow(const DriverWindow&) = delete;
  DriverWindow& operator=(const DriverWindow&) = delete;
  HWND hwnd() const { return hwnd_; }

 private:
  HWND hwnd_ = nullptr;
};

// The clipboard's Unicode text (empty when it holds none).
std::wstring clipboardText();

// Runs quenlit.exe (bin/'s unless told) with the arguments; its output lines (UTF-8, LF).
struct CliRun {
  int code = -1;
  std::vector<std::wstring> lines;
};
CliRun runCli(const std::vector<std::wstring>& args, const fs::path& exe = binDir() / "quenlit.exe");

// Outline rows as (level, text): what `quenlit outline` prints ("  name<TAB>line",
// two blanks per level) and what the tree shows, to compare the two.
using OutlineRows = std::vector<std::pair<int, std::wstring>>;
OutlineRows cliOutline(const std::wstring& file, const fs::path& exe = binDir() / "quenlit.exe");
OutlineRows shown(const std::vector<TreeRow>& rows);

// Holds a file open without sharing, as an editor that locks it would.
class FileHold {
 public:
  explicit FileHold(const fs::path& p);
  ~FileHold();
  FileHold(const FileHold&) = delete;
  FileHold& operator=(const FileHold&) = delete;

 private:
  HANDLE h_;
};

}  // namespace quenlit::e2e
