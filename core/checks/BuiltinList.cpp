#include "checks/BuiltinList.h"

#include <algorithm>

#include "source/SourceFile.h"
#include "text/Encoding.h"

namespace quenlit {

BuiltinList::BuiltinList(TextList names) : sorted_(std::move(names)) { sortList(sorted_); }

bool BuiltinList::contains(TextView name) const {
  auto it = std::lower_bound(sorted_.begin(), sorted_.end(), name,
                             [](const Text& a, TextView b) { return listLess(a, b); });
  return it != sorted_.end() && listEqual(*it, name);
}

BuiltinList parseBuiltinList(TextView text) {
  TextList names;
  for (const Text& line : splitLines(text)) {
    const size_t tab = line.find(u'\t');
    // Blanks before the TAB belong to the name: the file's author decides.
    names.push_back(tab == Text::npos ? line : line.substr(0, tab));
  }
  return BuiltinList(std::move(names));
}

BuiltinListFile readBuiltinList(const std::filesystem::path& file, unsigned codePage) {
  BuiltinListFile result;
  std::error_code ec;
  const auto status = std::filesystem::status(file, ec);
  if (!std::filesystem::exists(status)) return result;
  result.found = true;
  std::string bytes;
  FileError error;
  if (!readFileBytes(file, bytes, error)) {
    result.error = error.reason;
    return result;
  }
  // Without a mark the ANSI code page decodes every byte sequence.
  auto decoded = decodeBytes(bytes, Encoding::Ansi, codePage);
  if (decoded) result.list = parseBuiltinList(decoded->text);
  return result;
}

BuiltinListFile loadBuiltinList(const std::filesystem::path& exeDir) {
  return readBuiltinList(exeDir / kBuiltinListFileName, ansiCodePage());
}

}  // namespace quenlit
