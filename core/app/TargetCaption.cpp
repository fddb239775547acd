#include "app/TargetCaption.h"

#include "text/TextFile.h"

namespace quenlit {

std::optional<Text> startupCaption(const TextList& targetLines, TextView progId) {
  const Text needle = u"\t" + Text(progId);
  for (const auto& line : targetLines) {
    auto at = line.find(needle);
    if (at != Text::npos) return Text(kAppTitle) + u" [ " + line.substr(0, at) + u" ]";
  }
  return std::nullopt;
}

std::optional<Text> startupCaptionFromFile(const std::filesystem::path& path, TextView progId) {
  FileError error;
  auto content = readTextFile(path, error);
  if (!content) return std::nullopt;
  return startupCaption(content->lines, progId);
}

}  // namespace quenlit
