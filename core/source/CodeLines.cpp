#include "source/CodeLines.h"

namespace quenlit {

void makeCodeLines(const TextList& source, TextList& dest, ProgressBar& progress, int divisor) {
  bool inString = false;
  bool inBlockComment = false;
  ProgressStepper stepper(progress, source.size(), divisor);
  dest.reserve(dest.size() + source.size());
  for (size_t k = 0; k < source.size(); ++k) {
    stepper.before(k);
    const Text& s = source[k];
    const size_t n = s.size();
    Text out;
    out.reserve(n);
    for (size_t i = 0; i < n; ++i) {  // i is 0-based; the rules' position is i + 1
      // Only a double quote, ";" and TAB (outside strings and comments) do more than
      // copy or drop a character: runs of other characters go in one step.
      size_t j = i;
      if (!inBlockComment && !inString) {
        while (j < n && s[j] != u'"' && s[j] != u';' && s[j] != u'\t') ++j;
        out.append(s, i, j - i);
      } else {
        while (j < n && s[j] != u'"' && s[j] != u';') ++j;
      }
      if (j == n) break;
      i = j;
      const char16_t c = s[i];
      if (c == u'"') {
        // A quote after one backslash is escaped; after two it is not, even when a
        // third backslash stands before them (intended: that is how strings are read).
        const bool escaped = i > 0 && s[i - 1] == u'\\' && !(i > 1 && s[i - 2] == u'\\');
        if (!escaped) inString = !inString;
      }
      if (c == u';' && !inString) {
        if (i + 1 < n && s[i + 1] == u'|') {
          inBlockComment = true;
        } else if (i > 0 && s[i - 1] == u'|') {
          inBlockComment = false;
        } else {
          break;  // line comment
        }
      }
      if (!inBlockComment && !inString) {
        if (c == u'"' || c == u';') continue;
        out += c == u'\t' ? u' ' : c;
      }
    }
    dest.push_back(std::move(out));
  }
  progress.setPosition(0);
}

TextList makeCodeLines(const TextList& source) {
  NullProgress bar;
  TextList dest;
  makeCodeLines(source, dest, bar, 1);
  return dest;
}

}  // namespace quenlit
