// Line search: the source lines that hold every term typed in the search box.
#pragma once

#include <vector>

#include "pane/ResultPane.h"
#include "text/Text.h"

namespace quenlit {

struct SearchTerm {
  Text text;              // upper-cased in ASCII; without the "!" of a negative term
  bool negative = false;  // the line must not contain `text`
};

// Upper-cases the search text in ASCII, turns full-width spaces into blanks and
// splits it like a comma list; "!x" (two or more characters) is a negative term.
std::vector<SearchTerm> parseSearchTerms(TextView searchText);

// Whether a line, already upper-cased in ASCII, satisfies every term. In order
// mode each positive term must first occur after the previous one's first occurrence.
bool lineMatches(TextView upperLine, const std::vector<SearchTerm>& terms, bool ordered);

// "    7| (princ)": the 1-based number right-aligned in five characters, "|", one
// blank and the trimmed source line.
Text searchResultLine(size_t lineNo, TextView sourceLine);

// The result lines for every matching source line, in file order.
TextList searchLines(const TextList& source, TextView searchText, bool ordered);

// The search button: with an empty search text or no source lines the pane keeps
// what it shows and the result is false; otherwise the pane holds the results.
bool runLineSearch(const TextList& source, TextView searchText, bool ordered, ResultPane& pane);

}  // namespace quenlit
