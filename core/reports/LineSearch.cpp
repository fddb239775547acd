#include "reports/LineSearch.h"

namespace quenlit {

std::vector<SearchTerm> parseSearchTerms(TextView searchText) {
  Text upper = replaceAll(toUpperAscii(searchText), u"\u3000", u" ");
  std::vector<SearchTerm> terms;
  for (auto& item : splitCommaText(upper)) {
    if (item.size() >= 2 && item[0] == u'!')
      terms.push_back({item.substr(1), true});
    else
      terms.push_back({std::move(item), false});
  }
  return terms;
}

bool lineMatches(TextView upperLine, const std::vector<SearchTerm>& terms, bool ordered) {
  size_t previous = 0;  // 1-based first occurrence of the last positive term; 0 before any
  for (const auto& term : terms) {
    // An empty term (from ",," or a trailing comma) is found in no line.
    const size_t at = term.text.empty() ? TextView::npos : upperLine.find(term.text);
    if (term.negative) {
      if (at != TextView::npos) return false;
    } else if (at == TextView::npos) {
      return false;
    } else if (ordered) {
      // Only first occurrences are compared: with A then B, "B A B" fails.
      if (at + 1 <= previous) return false;
      previous = at + 1;
    }
  }
  return true;
}

Text searchResultLine(size_t lineNo, TextView sourceLine) {
  Text out = lineNumberField((long long)lineNo);
  out += u' ';
  out += trim(sourceLine);
  return out;
}

TextList searchLines(const TextList& source, TextView searchText, bool ordered) {
  const auto terms = parseSearchTerms(searchText);
  TextList results;
  Text upper;
  for (size_t i = 0; i < source.size(); ++i) {
    upper.assign(source[i]);
    for (auto& c : upper) c = toUpperAscii(c);
    if (lineMatches(upper, terms, ordered)) results.push_back(searchResultLine(i + 1, source[i]));
  }
  return results;
}

bool runLineSearch(const TextList& source, TextView searchText, bool ordered, ResultPane& pane) {
  if (searchText.empty() || source.empty()) return false;
  TextList results = searchLines(source, searchText, ordered);
  PaneUpdate update(pane);
  pane.clear();
  for (const auto& r : results) pane.addLine(r);
  return true;
}

}  // namespace quenlit
