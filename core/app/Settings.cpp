#include "app/Settings.h"

namespace quenlit {

namespace {
constexpr TextView kQuenlit = u"Quenlit";
constexpr TextView kTarget = u"Target";

Text boolText(bool b) { return b ? u"1" : u"0"; }
}  // namespace

Settings readSettings(const IniStore& ini, TextView currentProgId) {
  Settings s;
  s.targetEditor = readIniInteger(ini, kQuenlit, u"TargetEditor", 0);
  s.jumpCheck = readIniBool(ini, kQuenlit, u"JumpCheak", true);
  s.reloadCheck = readIniBool(ini, kQuenlit, u"ReloadCheak", false);
  s.lspFullName = readIniText(ini, kQuenlit, u"LspFullName", u"");
  s.progId = readIniText(ini, kTarget, u"ProgID", currentProgId);
  s.ctrlG2Check = readIniBool(ini, kQuenlit, u"CTRLG2Cheak", true);
  return s;
}

void writeSettings(IniStore& ini, const Settings& s) {
  ini.write(kQuenlit, u"TargetEditor", toText(s.targetEditor));
  ini.write(kQuenlit, u"JumpCheak", boolText(s.jumpCheck));
  ini.write(kQuenlit, u"ReloadCheak", boolText(s.reloadCheck));
  ini.write(kQuenlit, u"LspFullName", s.lspFullName);
  ini.write(kTarget, u"ProgID", s.progId);
  ini.write(kQuenlit, u"CTRLG2Cheak", boolText(s.ctrlG2Check));
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
