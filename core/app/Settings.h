// The settings file "QuenlitX.ini" beside the executable: its keys, their
// defaults, and the order in which they are read and written.
#pragma once

#include <filesystem>

#include "app/IniStore.h"
#include "shell/WindowLayout.h"
#include "text/TextFile.h"

namespace quenlit {

inline constexpr TextView kDefaultProgId = u"BricscadApp.AcadApplication";

struct Settings {
  int targetEditor = 0;       // ComboBox1's index, -1 for none
  bool jumpCheck = true;      // CheckBox1 "Jump"
  bool reloadCheck = false;   // CheckBox2 "Reload"
  Text lspFullName;           // the current file
  Text progId = Text(kDefaultProgId);
  bool ctrlG2Check = true;    // VS Code's go-to-line with Ctrl+G (else Alt+G)
  // Where the user left the window and its splitters: screen pixels for the
  // window, design pixels for the panels. No window rectangle: centred as designed.
  std::optional<ScreenRect> window;
  PanelHeights panels;
};

// Every key in the order start-up reads them; a missing key or a value that is not
// a number takes the default ("ProgID" defaults to `currentProgId`).
Settings readSettings(const IniStore& ini, TextView currentProgId = kDefaultProgId);

// All keys, every time, in the order the exit writes them; the window's place
// and the panels after the others.
void writeSettings(IniStore& ini, const Settings& s);

// The settings file of an executable: its name with the extension ".ini".
std::filesystem::path settingsPathFor(const std::filesystem::path& exePath);

// The file as an INI document with the encoding it was read in; an empty document
// when the file is missing or unreadable, so a damaged file gives the defaults.
struct SettingsFile {
  IniDocument doc;
  TextFileContent format;  // encoding and code page to write back in
};
SettingsFile loadSettingsFile(const std::filesystem::path& path);

// Written in the encoding it was read in (ANSI for a new file); when the code page
// cannot hold a value, as UTF-16 with its mark, which the system's profile
// functions read as well.
bool saveSettingsFile(const std::filesystem::path& path, SettingsFile& file, FileError& error);

}  // namespace quenlit
