#include "shell/FileHistory.h"

#include <utility>

#include "shell/Prompts.h"

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

void HistoryFile::start() {
  FileError error;
  if (list_.load(path_, error)) return;
  // Kept unread rather than empty, so the first save does not overwrite it.
  unread_ = true;
  prompts_.showFileError(textFromPath(path_), error);
}

bool HistoryFile::ensureRead() {
  if (!unread_) return true;
  FileHistory fresh;
  FileError error;
  if (!fresh.load(path_, error)) return false;
  list_ = std::move(fresh);
  unread_ = false;
  return true;
}

const TextList& HistoryFile::entries() {
  ensureRead();
  return list_.entries();
}

void HistoryFile::touch(TextView current) {
  if (!ensureRead()) return;
  list_.touch(current);
  write();
}

void HistoryFile::remove(size_t index) {
  if (unread_ || index >= list_.entries().size()) return;
  TextList entries = list_.entries();
  entries.erase(entries.begin() + long(index));
  list_.setEntries(std::move(entries));
  write();
}

void HistoryFile::write() {
  FileError error;
  if (list_.save(path_, error)) {
    failureShown_ = false;
  } else if (!std::exchange(failureShown_, true)) {
    prompts_.showFileError(textFromPath(path_), error);
  }
}

}  // namespace quenlit
