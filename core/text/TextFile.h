// The small text files kept beside the executable (settings, history, target
// list): read with a byte-order mark or else in the ANSI code page, written back
// in the encoding they were read in.
#pragma once

#include <filesystem>
#include <optional>

#include "text/Encoding.h"
#include "text/File.h"

namespace quenlit {

struct TextFileContent {
  TextList lines;
  Encoding encoding = Encoding::Ansi;
  unsigned codePage = 0;
};

// Nothing when the file does not exist; `error` is set when it exists but cannot be read.
std::optional<TextFileContent> readTextFile(const std::filesystem::path& path, FileError& error,
                                            unsigned codePage = 0);

// True when every character survives a trip through the code page.
bool fitsCodePage(const TextList& lines, unsigned codePage);

// The bytes for `content`, each line ended by CR LF. An ANSI file whose lines the
// code page cannot hold is written in `unicodeFallback` instead, so that a path
// with such characters is not turned into question marks; `content.encoding`
// then tells what was written.
std::string encodeTextFile(TextFileContent& content, Encoding unicodeFallback);

// Replaces the file as a whole; a failed write leaves the old file in place.
bool writeTextFile(const std::filesystem::path& path, TextFileContent& content, Encoding unicodeFallback,
                   FileError& error);

}  // namespace quenlit
