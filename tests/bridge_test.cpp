// The editor line jump against a recording desktop: which window is the target,
// which keys and messages go out, in which order, with which waits.
#include <gtest/gtest.h>

#include "FakeDesktop.h"
#include "TestSupport.h"
#include "bridge/EditorBridge.h"

using namespace quenlit;
using namespace quenlit::test;

namespace {

using Log = std::vector<std::string>;

// Each editor's windows as the editor makes them, written out here rather than
// taken from the bridge's own table, so that a slip there fails.
struct EditorWindows {
  const char16_t* mainClass;
  char shortcut;
  const char16_t* dialogClass;
  const char16_t* dialogTitle;
  const char16_t* fieldClass;
  std::vector<const char16_t*> buttons;
};
EditorWindows editorWindows(int editorIndex) {
  switch (editorIndex) {
    case kEditorNotepad: return {u"Notepad", 'G', u"#32770", u"行へ移動", u"Edit", {u"移動"}};
    case kEditorNotepadPP: return {u"Notepad++", 'G', u"#32770", u"指定位置へジャンプ...", u"Edit", {u"行(&L)", u"ジャンプ"}};
    case kEditorMery: return {u"TChildForm", 'G', u"TGoToLineForm", u"", u"TSpinEditEx", {u"OK"}};
    default: return {u"TTeraPadMainForm", 'J', u"TFormJump", u"", u"TComboBox", {u"OK"}};
  }
}

// An editor's main window (id 1) and its go-to-line dialog (id 2) with a label
// (3), the line field (4) and its buttons (5, 6), the dialog hidden until the
// editor's shortcut is pressed.
struct DialogEditorDesk {
  FakeDesktop desk;
  EditorBridge bridge{desk};
  WindowId main = kNoWindow;

  DialogEditorDesk(int editorIndex, TextView title, bool dialogOpens = true, bool withField = true) {
    const EditorWindows e = editorWindows(editorIndex);
    main = desk.add({.cls = e.mainClass, .title = Text(title)});
    const WindowId d = desk.add({.cls = e.dialogClass, .title = e.dialogTitle, .opensOn = dialogOpens ? e.shortcut : '?'}, true);
    desk.add({.cls = u"Static", .title = u"行番号", .parent = d});
    desk.add({.cls = withField ? e.fieldClass : u"Static", .parent = d});
    for (const char16_t* b : e.buttons) desk.add({.cls = u"Button", .title = b, .parent = d});
  }
};

// The keys of a shortcut, each with its mapped scan code.
Log chord(const std::string& modifier, const std::string& key) {
  return {"down " + modifier, "down " + key, "up " + key, "up " + modifier};
}
Log operator+(Log a, const Log& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

const Log kToFront = {"foreground 1", "sleep 100"};
const Log kRestoreToFront = {"restore 1", "sleep 200", "foreground 1", "sleep 100"};

}  // namespace

TEST(EditorBridge, DialogEditorsFollowTheirTitlesShortcutsAndDialogs) {
  struct Case {
    const char* what;
    int editor;
    std::u16string title;
    std::u16string lspFileName;
    Log expected;
    std::u16string editorFileName;  // read from the title
    bool editorWndSet;
  };
  const std::u16string longPath = u"C:\\" + std::u16string(250, u'a') + u"\\sample.lsp - Mery";
  const Case cases[] = {
      {"Notepad, the modified mark ignored", kEditorNotepad, u"*sample.lsp - メモ帳", u"sample.lsp",
       kToFront + chord("Ctrl", "G") + Log{"sleep 200", "settext 4 42", "click 5"}, u"sample.lsp", true},
      {"names compare case-sensitively", kEditorNotepad, u"*sample.lsp - メモ帳", u"Sample.lsp", {}, u"sample.lsp",
       true},
      {"not a LISP file", kEditorNotepad, u"memo.txt - メモ帳", u"memo.txt", {}, u"", false},
      {"Notepad keeps a path in its title", kEditorNotepad, u"C:\\work\\sample.lsp - メモ帳", u"sample.lsp", {},
       u"C:\\work\\sample.lsp", true},
      {"Notepad++ with a path, two buttons", kEditorNotepadPP, u"*C:\\work\\sample.lsp - Notepad++", u"sample.lsp",
       kToFront + chord("Ctrl", "G") + Log{"sleep 200", "settext 4 42", "click 5", "click 6"}, u"sample.lsp", true},
      {"Mery with a path, dialog by class", kEditorMery, u"C:\\work\\sample.lsp - Mery", u"sample.lsp",
       kToFront + chord("Ctrl", "G") + Log{"sleep 200", "settext 4 42", "click 5"}, u"sample.lsp", true},
      {"the extension in any case", kEditorMery, u"D:sample.LSP - Mery", u"sample.LSP",
       kToFront + chord("Ctrl", "G") + Log{"sleep 200", "settext 4 42", "click 5"}, u"sample.LSP", true},
      {"TeraPad opens with Ctrl+J", kEditorTeraPad, u"C:\\work\\sample.lsp - TeraPad", u"sample.lsp",
       kToFront + chord("Ctrl", "J") + Log{"sleep 200", "settext 4 42", "click 5"}, u"sample.lsp", true},
      {"no \" - \" in the title", kEditorMery, u"C:\\work\\sample.lsp", u"sample.lsp", {}, u"", false},
      {"an empty title", kEditorMery, u"", u"sample.lsp", {}, u"", false},
      {"a title cut at 254 characters", kEditorMery, longPath, u"sample.lsp", {}, u"", false},
      {"a name without extension", kEditorTeraPad, u"C:\\work\\lsp - TeraPad", u"lsp", {}, u"", false},
      // " - " inside the file's name (a Windows copy) or its folder: the title still names it.
      {"Notepad, a copy's name", kEditorNotepad, u"*WKP - コピー.LSP - メモ帳", u"WKP - コピー.LSP",
       kToFront + chord("Ctrl", "G") + Log{"sleep 200", "settext 4 42", "click 5"}, u"WKP - コピー.LSP", true},
      {"Notepad++, \" - \" in the name and the folder", kEditorNotepadPP,
       u"*C:\\a - b\\WKP - コピー.LSP - Notepad++", u"WKP - コピー.LSP",
       kToFront + chord("Ctrl", "G") + Log{"sleep 200", "settext 4 42", "click 5", "click 6"}, u"WKP - コピー.LSP",
       true},
      {"the copy open, the original loaded", kEditorNotepad, u"WKP - コピー.LSP - メモ帳", u"WKP.LSP", {}, u"", false},
      {"the original open, the copy loaded", kEditorMery, u"C:\\w\\WKP.LSP - Mery", u"WKP - コピー.LSP", {},
       u"WKP.LSP", true},
  };
  for (const Case& c : cases) {
    DialogEditorDesk d(c.editor, c.title);
    d.bridge.sendEditorLineNo(c.editor, true, 42, c.lspFileName);
    EXPECT_EQ(d.desk.log, c.expected) << c.what;
    EXPECT_EQ(d.bridge.editorFileName(), c.editorFileName) << c.what;
    EXPECT_EQ(d.bridge.editorWnd(), c.editorWndSet ? d.main : kNoWindow) << c.what;
    EXPECT_EQ(d.bridge.editorMainWnd(), d.main) << c.what;
  }
}

TEST(EditorBridge, DialogEditorStopsWhereTheEditorDoesNotFollow) {
  const struct {
    const char* what;
    int editor;
    const char16_t* title;
    bool dialogOpens, withField;
    std::function<void(DialogEditorDesk&)> setup;
    Log expected;
  } cases[] = {
      {"minimized: restored and waited for", kEditorMery, u"C:\\work\\sample.lsp - Mery", true, true,
       [](DialogEditorDesk& d) { d.desk.window(d.main).iconic = true; },
       kRestoreToFront + chord("Ctrl", "G") + Log{"sleep 200", "settext 4 7", "click 5"}},
      {"the foreground is refused: nothing typed", kEditorNotepad, u"sample.lsp - メモ帳", true, true,
       [](DialogEditorDesk& d) { d.desk.refuseForeground = true; }, kToFront},
      {"the window closes between the search and the keys", kEditorNotepadPP, u"C:\\sample.lsp - Notepad++", true,
       true, [](DialogEditorDesk& d) { d.desk.window(d.main).closesOnActivate = true; }, kToFront},
      {"the dialog comes later than the wait: the line is not entered", kEditorTeraPad, u"C:\\sample.lsp - TeraPad",
       false, true, {}, kToFront + chord("Ctrl", "J") + Log{"sleep 200"}},
      {"a dialog without the line field gets no clicks", kEditorNotepad, u"sample.lsp - メモ帳", true, false, {},
       kToFront + chord("Ctrl", "G") + Log{"sleep 200"}},
  };
  for (const auto& c : cases) {
    DialogEditorDesk d(c.editor, c.title, c.dialogOpens, c.withField);
    if (c.setup) c.setup(d);
    d.bridge.sendEditorLineNo(c.editor, true, 7, u"sample.lsp");
    EXPECT_EQ(d.desk.log, c.expected) << c.what;
    EXPECT_EQ(d.bridge.editorWindowLive(), d.desk.window(d.main).live) << c.what;
  }
  {  // no editor running
    FakeDesktop desk;
    EditorBridge bridge(desk);
    bridge.sendEditorLineNo(kEditorNotepad, true, 7, u"sample.lsp");
    EXPECT_TRUE(desk.log.empty());
    EXPECT_EQ(bridge.editorMainWnd(), kNoWindow);
  }
  {  // no editor selected, or no line: nothing at all
    DialogEditorDesk d(kEditorNotepad, u"sample.lsp - メモ帳");
    d.bridge.sendEditorLineNo(-1, true, 7, u"sample.lsp");
    d.bridge.sendEditorLineNo(5, true, 7, u"sample.lsp");
    d.bridge.sendEditorLineNo(kEditorNotepad, true, 0, u"sample.lsp");
    EXPECT_TRUE(d.desk.log.empty());
    EXPECT_EQ(d.bridge.editorMainWnd(), kNoWindow);
  }
}

TEST(EditorBridge, VSCodeIsFoundByTitleAndClassAndTypedInto) {
  auto digits = [](const std::string& n) {
    Log l;
    for (char c : n) l = l + Log{std::string("down ") + c, std::string("up ") + c};
    return l + Log{"down Enter", "up Enter"};
  };
  struct Window {
    std::u16string cls, title;
  };
  struct Case {
    const char* what;
    std::vector<Window> windows;  // front to back
    bool ctrlFlag;
    Log expected;
    WindowId editorWnd;
    std::u16string editorFileName;
    std::u16string lspFileName = u"sample.lsp";
  };
  const std::u16string code = kVSCodeClass;
  const Case cases[] = {
      {"Ctrl+G and the digits, one by one",
       {{code, u"● sample.lsp - work - Visual Studio Code"}},
       true,
       Log{"foreground 1", "sleep 100"} + chord("Ctrl", "G") + Log{"sleep 200"} + digits("1234"),
       1,
       u"sample.lsp"},
      {"Alt+G",
       {{code, u"sample.lsp - work - Visual Studio Code"}},
       false,
       Log{"foreground 1", "sleep 100"} + chord("Alt", "G") + Log{"sleep 200"} + digits("1234"),
       1,
       u"sample.lsp"},
      {"a title that only names the product is passed over",
       {{code, u"Visual Studio Code"}, {u"Other", u"x - Visual Studio Code"}, {code, u"sample.lsp - Visual Studio Code"}},
       true,
       Log{"foreground 3", "sleep 100"} + chord("Ctrl", "G") + Log{"sleep 200"} + digits("1234"),
       3,
       u"sample.lsp"},
      {"another file: found, nothing typed",
       {{code, u"●other.lsp - work - Visual Studio Code"}, {code, u"sample.lsp - work - Visual Studio Code"}},
       true,
       {},
       1,
       u"other.lsp"},
      {"\" - \" in the file's name and its folder",
       {{code, u"● WKP - コピー.LSP - a - b - Visual Studio Code"}},
       true,
       Log{"foreground 1", "sleep 100"} + chord("Ctrl", "G") + Log{"sleep 200"} + digits("1234"),
       1,
       u"WKP - コピー.LSP",
       u"WKP - コピー.LSP"},
      {"the copy open, the original loaded", {{code, u"WKP - コピー.LSP - a - Visual Studio Code"}}, true, {}, 1, u"WKP",
       u"WKP.LSP"},
      {"no file in the title", {{code, u"Welcome Visual Studio Code"}}, true, {}, 1, u""},
      {"no VS Code window", {{code, u"Visual Studio Code"}, {code, u"x - Google Chrome"}}, true, {}, kNoWindow, u""},
  };
  for (const Case& c : cases) {
    FakeDesktop desk;
    for (const auto& w : c.windows) desk.add({.cls = w.cls, .title = w.title});
    EditorBridge bridge(desk);
    bridge.sendEditorLineNo(kEditorVSCode, c.ctrlFlag, 1234, c.lspFileName);
    EXPECT_EQ(desk.log, c.expected) << c.what;
    EXPECT_EQ(bridge.editorWnd(), c.editorWnd) << c.what;
    EXPECT_EQ(bridge.editorMainWnd(), c.editorWnd) << c.what;
    EXPECT_EQ(bridge.editorFileName(), c.editorFileName) << c.what;
  }
}

TEST(EditorBridge, VSCodeInputMethodAndForeground) {
  auto run = [](FakeWindow w, bool refuse = false) {
    FakeDesktop desk;
    w.cls = kVSCodeClass;
    w.title = u"sample.lsp - w - Visual Studio Code";
    desk.add(w);
    desk.refuseForeground = refuse;
    EditorBridge bridge(desk);
    bridge.sendEditorLineNo(kEditorVSCode, true, 5, u"sample.lsp");
    return desk.log;
  };
  const Log keys = chord("Ctrl", "G") + Log{"sleep 200", "down 5", "up 5", "down Enter", "up Enter"};
  // An open input method is closed before the keys; a closed one is left alone.
  EXPECT_EQ((run({.hasIme = true, .imeOpen = true})), (kToFront + Log{"closeime 1"} + keys));
  EXPECT_EQ((run({.hasIme = true, .imeOpen = false})), kToFront + keys);
  EXPECT_EQ(run({.iconic = true}), kRestoreToFront + keys);
  EXPECT_EQ(run({}, true), kToFront);
  EXPECT_EQ(run({.closesOnActivate = true}), kToFront);
}

TEST(EditorBridge, MainWindowSearchAndTheEButton) {
  FakeDesktop desk;
  const WindowId code = desk.add({.cls = kVSCodeClass, .title = u"a.lsp - Visual Studio Code", .iconic = true});
  const WindowId mery = desk.add({.cls = u"TChildForm", .title = u"untitled"});
  EditorBridge bridge(desk);

  // No title check: any window of the editor counts.
  bridge.getEditorMainWinHandle(kEditorMery);
  EXPECT_EQ(bridge.editorWnd(), mery);
  EXPECT_EQ(bridge.editorMainWnd(), mery);
  // No item selected: both keep the window found last.
  bridge.getEditorMainWinHandle(-1);
  EXPECT_EQ(bridge.editorMainWnd(), mery);
  // No Notepad: none.
  bridge.getEditorMainWinHandle(kEditorNotepad);
  EXPECT_EQ(bridge.editorWnd(), kNoWindow);
  EXPECT_FALSE(bridge.editorWindowLive());

  bridge.Button9Click(kEditorVSCode);
  EXPECT_EQ(desk.log, (Log{"restore 1", "foreground 1"}));  // restored without a wait
  EXPECT_TRUE(bridge.editorWindowLive());

  // VS Code gone: the search keeps the last window, which is no longer live.
  desk.window(code).live = false;
  desk.log.clear();
  bridge.Button9Click(kEditorVSCode);
  EXPECT_EQ(bridge.editorWnd(), code);
  EXPECT_FALSE(bridge.editorWindowLive());
  EXPECT_TRUE(desk.log.empty());
}

