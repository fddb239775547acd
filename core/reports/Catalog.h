// The function catalog: every top-level function in name order with its marker,
// its parameters and the comment lines written above it.
#pragma once

#include <ctime>
#include <functional>

#include "pane/ResultPane.h"
#include "source/Progress.h"
#include "text/Text.h"

namespace quenlit {

// The comment block directly above the defun on the 0-based source line `line`.
// On return `line` is the block's first line (unchanged without a block) and
// `comment` its lines, each "  " + the trimmed line without any ";", joined by CR LF.
void getDefunComment(const TextList& sourceLines, int& line, Text& comment);

// "YYYY/MM/DD H:MM:SS": the portable stand-in for the user's short date and long time.
Text formatDateTime(const std::tm& t);

// Where the catalog header's date and time come from. The window replaces
// `format` with the user's own date and time formats; tests fix both.
struct CatalogClock {
  std::function<std::time_t()> now = [] { return std::time(nullptr); };
  std::function<Text(std::time_t)> format = formatLocalDateTime;
  static Text formatLocalDateTime(std::time_t t);
};

// Clears the pane and writes the catalog of `source` under a header naming the file
// part of `activeFileName`. Without a balanced top-level defun the pane stays empty.
void makeLspIndex(const TextList& source, TextView activeFileName, ResultPane& pane, ProgressBar& progress,
                  const CatalogClock& clock = {});

}  // namespace quenlit
