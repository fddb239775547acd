#include "app/Settings.h"

#include <algorithm>
#include <cstdint>

namespace quenlit {

namespace {
constexpr TextView kQuenlit = u"Quenlit";
constexpr TextView kTarget = u"Target";

Text boolText(bool b) { return b ? u"1" : u"0"; }

constexpr int kNone = INT32_MIN;     // a window may stand left of or above the primary screen
constexpr int kMaxSide = 1 << 16;    // larger than any screen: a damaged value
}  // namespace

Settings readSettings(const IniStore& ini, TextView currentProgId) {
  Settings s;
  s.targetEditor = readIniInteger(ini, kQuenlit, u"TargetEditor", 0);
  s.jumpCheck = readIniBool(ini, kQuenlit, u"JumpCheak", true);
  s.reloadCheck = readIniBool(ini, kQuenlit, u"ReloadCheak", false);
  s.lspFullName = readIniText(ini, kQuenlit, u"LspFullName", u"");
  s.progId = readIniText(ini, kTarget, u"ProgID", currentProgId);
  s.ctrlG2Check = readIniBool(ini, kQuenlit, u"CTRLG2Cheak", true);
  const int left = readIniInteger(ini, kQuenlit, u"WindowLeft", kNone), top = readIniInteger(ini, kQuenlit, u"WindowTop", kNone);
  const int width = readIniInteger(ini, kQuenlit, u"WindowWidth", 0), height = readIniInteger(ini, kQuenlit, u"WindowHeight", 0);
  if (left != kNone && top != kNone && width > 0 && height > 0 && width <= kMaxSide && height <= kMaxSide)
    s.window = ScreenRect{left, top, left + width, top + height};
  s.panels.control = std::clamp(readIniInteger(ini, kQuenlit, u"ControlPanelHeight", layout::kControlPanel),
                                layout::kMinControlPanel, kMaxSide);
  s.panels.lower = std::clamp(readIniInteger(ini, kQuenlit, u"LowerPanelHeight", layout::kLowerPanel),
                              layout::kMinLowerPanel, kMaxSide);
  return s;
}

void writeSettings(IniStore& ini, const Settings& s) {
  ini.write(kQuenlit, u"TargetEditor", toText(s.targetEditor));
  ini.write(kQuenlit, u"JumpCheak", boolText(s.jumpCheck));
  ini.write(kQuenlit, u"ReloadCheak", boolText(s.reloadCheck));
  ini.write(kQuenlit, u"LspFullName", s.lspFullName);
  ini.write(kTarget, u"ProgID", s.progId);
  ini.write(kQuenlit, u"CTRLG2Cheak", boolText(s.ctrlG2Check));
  if (s.window) {
    ini.write(kQuenlit, u"WindowLeft", toText(s.window->left));
    ini.write(kQuenlit, u"WindowTop", toText(s.window->top));
    ini.write(kQuenlit, u"WindowWidth", toText(s.window->width()));
    ini.write(kQuenlit, u"WindowHeight", toText(s.window->height()));
  }
  ini.write(kQuenlit, u"ControlPanelHeight", toText(s.panels.control));
  ini.write(kQuenlit, u"LowerPanelHeight", toText(s.panels.lower));
}

std::filesystem::path settingsPathFor(const std::filesystem::path& exePath) {
  auto p = exePath;
  p.replace_extension(".ini");
  return p;
}

SettingsFile loadSettingsFile(const std::filesystem::path& path) {
  SettingsFile file;
  file.format.encoding = Encoding::Ansi;
  FileError error;
  if (auto content = readTextFile(path, error)) {
    file.format.encoding = content->encoding;
    file.format.codePage = content->codePage;
    file.doc = IniDocument(std::move(content->lines));
  }
  return file;
}

bool saveSettingsFile(const std::filesystem::path& path, SettingsFile& file, FileError& error) {
  file.format.lines = file.doc.lines();
  return writeTextFile(path, file.format, Encoding::Utf16LE, error);
}

}  // namespace quenlit
