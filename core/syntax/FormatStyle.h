// How `quenlit format` lays out AutoLISP: the settings a config file's [format]
// section and the formatter both speak. Defaults are the formatter's own.
#pragma once

namespace quenlit::syntax {

// Where a broken form's closing parentheses go.
enum class ClosingStyle {
  kSameLine,      // at the end of the form's last line: ... (princ)))
  kOwnLineInner,  // on a line of their own, indented like the form's body
  kOwnLineOuter,  // on a line of their own, under the form's opening parenthesis
};

struct FormatStyle {
  int width = 80;   // a form stays on one line while it fits in this many columns
  int indent = 2;   // body indentation under defun, lambda, foreach, while, ...
  ClosingStyle closing = ClosingStyle::kSameLine;
  bool breakSetqPairs = true;  // a broken setq puts each name-value pair on its own line
};

}  // namespace quenlit::syntax
