// The exclusion list: words that are never variables (AutoLISP's own constants and
// the automation constants of the CAD program), plus the user's "jogaiList.txt".
#pragma once

#include <filesystem>
#include <string>

#include "text/File.h"
#include "text/Text.h"

namespace quenlit {

inline constexpr const char* kJogaiFileName = "jogaiList.txt";

// The 57 built-in words in their written order.
TextList builtinJogaiWords();

// Whole-word look-up, letter case ignored; `jogaiSL` must be sorted by the list comparison.
bool jogaiContains(const TextList& jogaiSL, TextView word);

// Adds each line of the user file, trimmed, unless it is empty or already present in
// any ASCII letter case; then sorts the whole list.
TextList mergeJogaiLines(TextList list, const TextList& userLines);

struct JogaiLoad {
  TextList list;      // sorted; the built-in words at least
  FileError error;    // set when the user file exists but cannot be read
};

// The built-in words merged with `file` when it exists. Without a byte-order mark the
// file is read in the ANSI code page in force (ansiCodePage()).
JogaiLoad loadJogaiListFile(const std::filesystem::path& file);

// The same with "jogaiList.txt" in the folder of the executable.
JogaiLoad loadJogaiList(const std::filesystem::path& exeDir);

}  // namespace quenlit
