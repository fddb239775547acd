// Whole-file reads and writes, and paths as the program holds them. The
// platform parts live in File_win.cpp and File_posix.cpp, so a failure carries
// the system's own error code and its own wording.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "text/Text.h"

namespace quenlit {

struct FileError {
  std::string reason;  // the system's text, UTF-8
  int code = 0;        // GetLastError() on Windows, errno elsewhere; 0 when unknown
};

// Reads all bytes; false with the reason when the file cannot be read.
bool readFileBytes(const std::filesystem::path& path, std::string& bytes, FileError& error);

// Writes bytes so that a failure part-way never leaves a half-written target:
// the bytes go to a temporary file in the same folder that then replaces the
// target. A read-only target is refused, as an in-place write would be; the
// replacement keeps the replaced file's permissions.
bool writeFileAtomically(const std::filesystem::path& path, std::string_view bytes, FileError& error);

// Paths as the program holds them (UTF-16 text) and as the file system takes them.
std::filesystem::path pathFromText(TextView text);
Text textFromPath(const std::filesystem::path& path);

// A file (not a folder) exists at the path; an empty path never names one.
bool fileExists(TextView path);

// A 64-bit hash of bytes (FNV-1a): the same input gives the same value on every
// platform and in every run.
std::uint64_t hashBytes(std::string_view bytes);

}  // namespace quenlit
