// The current file: reading it into source lines, the lock test, and the test
// that must pass before the lines may be written back over the file.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>

#include "text/Encoding.h"
#include "text/File.h"

namespace quenlit {

// What the lines were read from: the only file they may be written back to, as
// long as it still holds these bytes.
struct SourceOrigin {
  std::filesystem::path path;  // empty: the lines were not read from a file
  std::uintmax_t size = 0;
  std::uint64_t hash = 0;      // hashBytes of everything read
};

// LspSL: the file's lines and the encoding they were read in.
struct SourceLines {
  TextList lines;
  Encoding encoding = Encoding::Utf8;
  unsigned codePage = 0;  // for Encoding::Ansi
  SourceOrigin origin;
};

struct LoadOutcome {
  bool ok = false;
  Text label = u"UTF8";  // "UTF8" or "ANSI": the default in force for the last attempt
  FileError error;
};

// Fills `lspSL` from the file: UTF-8 first, then the ANSI code page. `processMessages`
// runs once after a successful read so the window can repaint. On failure `lspSL`
// keeps its previous content.
LoadOutcome loadLspFile(const std::filesystem::path& path, SourceLines& lspSL,
                        const std::function<void()>& processMessages = {}, unsigned codePage = 0);

// True when the file exists and cannot be opened exclusively for reading and writing.
bool isFileLocked(const std::filesystem::path& path);

// Whether the lines may replace `target` on disk. They must have been read from
// `target`, the file must still hold exactly the bytes that were read, and those
// bytes must decode and encode back to themselves: otherwise writing the lines
// would lose the user's later edits, put one file's lines into another, or
// change lines nobody touched.
enum class RewriteCheck {
  kSafe,
  kOtherFile,   // the lines came from another file (or from none)
  kChanged,     // the file is not what was read: edited, replaced or gone
  kUnreadable,  // the file cannot be read again; see the error
  kLossy,       // the bytes do not survive decoding and encoding
};
// `bytesRead`, when given, receives what the file holds.
RewriteCheck checkRewrite(const SourceLines& source, const std::filesystem::path& target, FileError& error,
                          std::string* bytesRead = nullptr);

}  // namespace quenlit
