// The parenthesis check behind "((✔))": which defun ranges are unbalanced, and
// where the whole file loses its balance.
#pragma once

#include <optional>
#include <vector>

#include "pane/ResultPane.h"
#include "source/Progress.h"
#include "text/Text.h"
#include "text/Titles.h"

namespace quenlit {

// Counts "(" and ")" in code lines fromIndex..toIndex (toIndex clamped to the last
// line). Both counts are set to 0 first; false, without counting, when the range
// is empty or starts before 0.
bool countParens(const TextList& codeLines, int fromIndex, int toIndex, int& openCount, int& closeCount);

// A code line that begins with "(DEFUN " at its very first character.
struct DefunHead {
  Text name;  // keeps the blank before the argument list: "foo " for "(defun foo (a)"
  int line = 0;
};
std::vector<DefunHead> collectDefunHeads(const TextList& codeLines);

// Clears the pane and lists every defun range (and the lead range before the first
// head) whose counts differ. Does nothing at all when there are no source lines.
void listParenMismatch(const TextList& sourceLines, ResultPane& pane, ProgressBar& progress);

// What the window shows when the whole file does not balance. It shows
// `confirmText` as a Yes/No question titled `kConfirmTitle` when the editor
// window is live (and jumps to `jumpLine` on Yes), else `plainText` in a plain
// message box. Line breaks in both texts are "\n".
struct ParenMessage {
  bool moreOpen = false;  // more "(" than ")"
  int openCount = 0, closeCount = 0;
  int balancedLine = 0;  // 0-based T (more "(") or B (more ")")
  Text heading;
  Text defunLabel;       // D; empty when no defun line was found
  int jumpLine = 1;      // 1-based line the confirmation offers
  Text confirmText;
  Text plainText;
};

// A defun range (or the lead range before the first head) whose counts differ.
struct ParenRange {
  int from = 0, to = 0;  // 0-based code lines, both included
  int openCount = 0, closeCount = 0;
  bool lead = false;     // the lines before the first head
  Text name;             // the head's name; empty for the lead range
};
std::vector<ParenRange> findParenMismatches(const TextList& codeLines);

// A range's words, the same in the pane and in the check's Japanese messages:
// "括弧数不一致", "行範囲 = 3～9", "括弧数 = 4 > 3" (1-based lines) and the head's label.
inline constexpr TextView kParenMismatchLabel = u"括弧数不一致";
inline constexpr TextView kDefunInRangeLabel = u"範囲内にある関数 = ";
Text parenRangeText(const ParenRange& range);
Text parenCountText(const ParenRange& range);

// The whole-file count of the code lines; the message when it does not balance.
std::optional<ParenMessage> findFileImbalance(const TextList& codeLines, int& openCount, int& closeCount);

// Both of the above from one count of the code lines.
struct ParenFindings {
  std::vector<ParenRange> ranges;
  std::optional<ParenMessage> file;
  int openCount = 0, closeCount = 0;
};
ParenFindings findParenProblems(const TextList& codeLines);

struct ParenCheckResult {
  // False only when there were no source lines: the pane stays as cleared and is
  // not scrolled.
  bool scrollTop = false;
  std::optional<ParenMessage> message;  // set when the whole file is unbalanced
};

// Button2Click after its reload: fills the pane and returns the message decision.
ParenCheckResult runParenCheck(const TextList& sourceLines, ResultPane& pane, ProgressBar& progress);

}  // namespace quenlit
