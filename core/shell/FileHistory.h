// FileHistSL: the files worked on, most recent first, kept in "QuenlitHist.txt"
// beside the executable.
#pragma once

#include <filesystem>
#include <optional>

#include "text/TextFile.h"

namespace quenlit {

inline constexpr size_t kHistoryLimit = 40;
inline constexpr TextView kHistoryFileName = u"QuenlitHist.txt";

class FileHistory {
 public:
  // Takes the file as it is (more than 40 lines included); a missing file leaves
  // the list empty. False with `error` set when the file exists but cannot be read.
  bool load(const std::filesystem::path& path, FileError& error);

  // The whole list, in the encoding it was read in (ANSI when there was no file).
  bool save(const std::filesystem::path& path, FileError& error);

  // makeFileHist's list update: `current` moves (or goes) to the top in the letter
  // case given, unless the same path is on top already; then only the 40 most
  // recent stay. An empty `current` changes nothing.
  void touch(TextView current);

  // The position of `path` (compared as the list compares, ignoring letter case).
  std::optional<size_t> find(TextView path) const;

  const TextList& entries() const { return content_.lines; }
  void setEntries(TextList entries) { content_.lines = std::move(entries); }
  Encoding encoding() const { return content_.encoding; }

 private:
  TextFileContent content_;
};

// Modal results of the history dialog.
enum ModalResult { kMrNone = 0, kMrOk = 1, kMrCancel = 2, kMrYes = 6 };

struct HistoryChoice {
  int result = kMrCancel;
  std::optional<size_t> selected;  // the entry selected when the dialog closed
};

class Prompts;

// The history as the program keeps it, in its one file beside the executable.
// While that file exists but cannot be read, the list stays unread and the file
// is never overwritten; each use tries to read it again. A failed write is
// reported once, and again only after a write has succeeded.
class HistoryFile {
 public:
  HistoryFile(std::filesystem::path path, Prompts& prompts) : path_(std::move(path)), prompts_(prompts) {}

  // At start: an existing file that cannot be read is reported and kept unread.
  void start();
  // makeFileHist: `current` to the top (FileHistory::touch) and the file written.
  void touch(TextView current);
  // The entry at `index` taken out, and the file written.
  void remove(size_t index);
  // The entries, read again first while they are unread.
  const TextList& entries();
  const TextList& entries() const { return list_.entries(); }

 private:
  bool ensureRead();
  void write();

  std::filesystem::path path_;
  Prompts& prompts_;
  FileHistory list_;
  bool unread_ = false;
  bool failureShown_ = false;
};

// The history dialog's "ロード" and "削除": both follow whether an entry of the
// list is selected, and keep their state from one showing of the dialog to the
// next, while the freshly filled list has no selection.
class HistoryButtons {
 public:
  void listSelectionChanged(bool anySelected) { enabled_ = anySelected; }
  bool loadEnabled() const { return enabled_; }
  bool deleteEnabled() const { return enabled_; }

 private:
  bool enabled_ = false;
};

}  // namespace quenlit
