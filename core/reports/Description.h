// The function description shown in the result pane when an outline row is clicked:
// the comment block above the definition and the definition's first line(s).
#pragma once

#include <optional>

#include "pane/ResultPane.h"
#include "source/Outline.h"
#include "text/Text.h"

namespace quenlit {

// The description lines for the definition whose "(DEFUN " stands on the 0-based
// source line `defLine` (the source lines as read, not the code lines).
TextList functionDescription(const TextList& source, int defLine);

// What a click on an outline row writes: clears the pane, then the description of
// `selected` when it is a row below the roots. Scrolling back to the top is left
// to the window.
void writeFunctionDescription(ResultPane& pane, const TextList& source, const std::optional<OutlineRow>& selected);

}  // namespace quenlit
