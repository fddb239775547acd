#include "checks/BuiltinList.h"

#include <algorithm>

#include "text/TextFile.h"

namespace quenlit {

BuiltinList::BuiltinList(TextList names) : sorted_(std::move(names)) { sortList(sorted_); }

bool BuiltinList::contains(TextView name) const {
  auto it = std::lower_bound(sorted_.begin(), sorted_.end(), name,
                             [](const Text& a, TextView b) { return listLess(a, b); });
  return it != sorted_.end() && listEqual(*it, name);
}

BuiltinList parseBuiltinList(TextView text) { return parseBuiltinLines(splitLines(text)); }

BuiltinList parseBuiltinLines(const TextList& lines) {
  TextList names;
  for (const Text& line : lines) {
    const size_t tab = line.find(u'\t');
    // Blanks before the TAB belong to the name: the file's author decides.
    names.push_back(tab == Text::npos ? line : line.substr(0, tab));
  }
  return BuiltinList(std::move(names));
}

BuiltinListFile readBuiltinList(const std::filesystem::path& file, unsigned codePage) {
  BuiltinListFile result;
  auto content = readTextFile(file, result.error, codePage);
  result.found = content.has_value() || !result.error.reason.empty();
  if (content) result.list = parseBuiltinLines(content->lines);
  return result;
}

BuiltinListFile loadBuiltinList(const std::filesystem::path& exeDir) {
  return readBuiltinList(exeDir / kBuiltinListFileName, ansiCodePage());
}

}  // namespace quenlit
