// Going from a result pane line back to the source: a line number, or a function
// name looked up in the outline and then in the code lines.
#pragma once

#include <optional>
#include <vector>

#include "pane/ResultPane.h"
#include "source/Outline.h"
#include "source/Progress.h"
#include "text/Text.h"

namespace quenlit {

// A selection in the pane as the text control reports it.
struct PaneSelection {
  size_t line = 0;    // pane line holding the start (the caret line when nothing is selected)
  size_t column = 0;  // 0-based column of the start in that line
  size_t length = 0;  // code units; a line break inside the selection counts as CR LF
  bool operator==(const PaneSelection&) const = default;
};

// The selected text, line breaks as CR LF, cut at the end of the pane.
Text selectedText(const ResultPane& pane, const PaneSelection& selection);

// The blank, "(", ")", "/" and "|" that bound a function name in a report line.
bool isWordDelimiter(char16_t c);

// The line of the first top-level outline row whose text, cut before " (", is
// `name` in any ASCII letter case. Nested rows are not looked at.
std::optional<int> findOutlineFunction(TextView name, const std::vector<OutlineRow>& outline);

struct DoubleClickOutcome {
  std::optional<int> jumpLine;             // 1-based line for the editor, if any
  std::optional<PaneSelection> selection;  // where to put the (empty) selection afterwards
};

// After the control selected the word under the pointer: a selected number is a
// line (followed only when `jumpChecked`); anything else is widened to the word
// between delimiters and looked up among the top-level functions, then as
// "(word " in the code lines of `source`. Name lookups ignore `jumpChecked`.
DoubleClickOutcome resolvePaneDoubleClick(const ResultPane& pane, const PaneSelection& selection, bool jumpChecked,
                                          const std::vector<OutlineRow>& outline, const TextList& source,
                                          ProgressBar& progress);

// "Jump to the selected function line": the trimmed selection must be a top-level
// function's name exactly; no widening and no other lookup.
std::optional<int> resolveSelectedFunction(TextView selected, const std::vector<OutlineRow>& outline);

}  // namespace quenlit
