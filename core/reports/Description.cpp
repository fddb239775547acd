#include "reports/Description.h"

namespace quenlit {

namespace {

// A comment line carries text unless it is made of one repeated character once
// the semicolons and spaces are gone; so ";; x" counts as decoration too.
bool carriesText(TextView trimmed) {
  Text rest = trim(removeChar(removeChar(trimmed, u';'), u' '));
  if (rest.empty()) return false;
  return !removeChar(rest, rest[0]).empty();
}

// The first line(s) of the definition, cut at the argument list's "/" or ")".
TextList signatureLines(const TextList& source, size_t from) {
  TextList collected;
  for (size_t k = from; k < source.size(); ++k) {
    const Text& s = source[k];
    TextView code = TextView(s).substr(0, s.find(u';'));
    // The "/" wins wherever the ")" stands, so a division in a one-line body
    // also ends the signature.
    if (auto slash = code.find(u'/'); slash != TextView::npos) {
      collected.push_back(s.substr(0, slash + 1) + u" ...)");
      break;
    }
    if (auto close = code.find(u')'); close != TextView::npos) {
      collected.push_back(s.substr(0, close + 1));
      break;
    }
    collected.push_back(s);
  }
  return collected;
}

}  // namespace

TextList functionDescription(const TextList& source, int defLine) {
  TextList out;
  if (defLine < 0 || size_t(defLine) >= source.size()) return out;
  const size_t def = size_t(defLine);

  size_t top = def;
  while (top > 0) {
    Text t = trim(source[top - 1]);
    if (t.empty() || t[0] != u';') break;
    --top;
  }
  for (size_t k = top; k < def; ++k) {
    Text t = trim(source[k]);
    if (carriesText(t)) out.push_back(replaceAll(t, u"\t", u" "));
  }

  for (const auto& line : signatureLines(source, def)) {
    Text t = trim(line);
    if (t.empty()) continue;
    if (t[0] == u'(') {
      // "(defun area(w h" reads better as "(defun area (w h".
      auto open = t.find(u'(', 1);
      if (open != Text::npos && open != 1 && t[open - 1] != u' ') t.insert(open, 1, u' ');
    }
    if (t[0] == u';' || t[0] == u'(')
      out.push_back(t);
    else
      out.push_back(u"  " + t);
  }
  return out;
}

void writeFunctionDescription(ResultPane& pane, const TextList& source, const std::optional<OutlineRow>& selected) {
  PaneUpdate update(pane);
  pane.clear();
  if (!selected || selected->level < 1) return;
  for (const auto& l : functionDescription(source, selected->line - 1)) pane.addLine(l);
}

}  // namespace quenlit
