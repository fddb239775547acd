// The current file: reading it into source lines, and the lock test.
#pragma once

#include <filesystem>
#include <functional>
#include <string>

#include "text/Encoding.h"

namespace quenlit {

// LspSL: the file's lines and the encoding they were read in.
struct SourceLines {
  TextList lines;
  Encoding encoding = Encoding::Utf8;
  unsigned codePage = 0;  // for Encoding::Ansi
};

struct FileError {
  std::string reason;  // the system's text, UTF-8
};

// Reads all bytes; false with the reason when the file cannot be read.
bool readFileBytes(const std::filesystem::path& path, std::string& bytes, FileError& error);

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

// The part after the last "\" or "/".
Text fileNamePart(TextView fullName);

// Writes bytes so that a failure part-way never leaves a half-written target:
// the bytes go to a temporary file in the same folder that then replaces the target.
bool writeFileAtomically(const std::filesystem::path& path, std::string_view bytes, FileError& error);

}  // namespace quenlit
