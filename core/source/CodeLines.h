// Code lines: the source lines without comments and string literals.
#pragma once

#include "source/Progress.h"
#include "text/Text.h"

namespace quenlit {

// Appends one code line per source line to `dest` (left as it was when there are
// no source lines). Advances `progress` about `divisor` times, then sets it to 0.
void makeCodeLines(const TextList& source, TextList& dest, ProgressBar& progress, int divisor);

// Convenience for callers without a bar.
TextList makeCodeLines(const TextList& source);

}  // namespace quenlit
