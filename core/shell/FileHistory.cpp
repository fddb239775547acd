#include "shell/FileHistory.h"

namespace quenlit {

bool FileHistory::load(const std::filesystem::path& path, FileError& error) {
  FileError readError;
  auto content = readTextFile(path, readError);
  if (!content) {
    if (!readError.reason.empty()) {
      error = readError;
      return false;
    }
    return true;
  }
  content_ = std::move(*content);
  return true;
}

bool FileHistory::save(const std::filesystem::path& path, FileError& error) {
  // A path the code page cannot hold is kept by switching the file to UTF-8 with
  // its mark, which the loader recognises.
  return writeTextFile(path, content_, Encoding::Utf8, error);
}

std::optional<size_t> FileHistory::find(TextView path) const {
  for (size_t i = 0; i < content_.lines.size(); ++i)
    if (listEqual(content_.lines[i], path)) return i;
  return std::nullopt;
}

void FileHistory::touch(TextView current) {
  if (current.empty()) return;
  auto& list = content_.lines;
  auto at = find(current);
  if (!at) {
    list.insert(list.begin(), Text(current));
  } else if (*at > 0) {
    list.erase(list.begin() + long(*at));
    list.insert(list.begin(), Text(current));
  }
  while (list.size() > kHistoryLimit) list.erase(list.begin() + long(kHistoryLimit));
}

}  // namespace quenlit
