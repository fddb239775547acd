// Taking code lines apart into words for the variable check. Nothing here parses
// LISP: call heads, quoted words and parentheses are blanked out, and what is left
// between blanks and commas are the words.
//
// Two comparisons are kept apart on purpose:
//  - "same word" (sameWordAscii): ASCII a-z upper-cased on both sides, everything
//    else exact. Used to subtract and intersect word lists.
//  - the list comparison (listCompare): used to de-duplicate collected words, to
//    look words up in the exclusion list and to sort.
#pragma once

#include <span>

#include "text/Text.h"

namespace quenlit {

// The line, same length, with the head of every list form and every ")" blanked.
Text blankCallHeads(TextView line);

// The line, same length, with quoted words and every "(" and ")" blanked.
Text blankQuotedWords(TextView line);

// Sign, digits, "." and digits, exponent; or NAN, INF, +INF, -INF in any case.
bool isNumberWord(TextView word);

// False for numbers and for words of the exclusion list. `jogaiSL` must be sorted
// by the list comparison, as loadJogaiList leaves it.
bool isVariableWord(TextView word, const TextList& jogaiSL);

// The variable words of the lines: de-duplicated (the first spelling met stays),
// sorted. Two commas in a row separate like one: an empty item is never a word.
TextList collectWords(const TextList& lines, const TextList& jogaiSL);

// The names after "/" in the parameter list of the definition whose "(DEFUN "
// stands at the 0-based line and column; sorted, repeats kept.
TextList getDefunLocals(const TextList& codeLines, int startLine, int startCol);

// The parameter names before "/" in written order (getDefunArgs as a list).
TextList getDefunArgList(const TextList& codeLines, int startLine, int startCol);

// The text after the parameter list up to the definition's closing ")", as lines;
// empty when the parentheses never balance.
TextList getDefunBody(const TextList& codeLines, int startLine, int startCol);

// Body words of a top-level definition, the text of definitions nested in it blanked.
TextList getDefunWords(const TextList& codeLines, int startLine, int startCol, const TextList& jogaiSL);

// Body words of a nested definition, everything inside it included.
TextList getSubDefunWords(const TextList& codeLines, int startLine, int startCol, const TextList& jogaiSL);

// Words of the code lines first..last (0-based, inclusive); none when last < first.
TextList getLineWords(const TextList& codeLines, int first, int last, const TextList& jogaiSL);

// Body words of a nested definition that are none of its own arguments or locals.
TextList getSubFreeWords(const TextList& codeLines, int startLine, int startCol, const TextList& jogaiSL);

// The words of `a`, in its order, that are not the same word as any word of `bs`.
TextList subtractWordLists(const TextList& a, std::span<const TextList* const> bs);
template <class... Lists>
TextList subtractWords(const TextList& a, const Lists&... bs) {
  const TextList* lists[] = {&bs...};
  return subtractWordLists(a, lists);
}

// Every pair (a of A, b of B) that is the same word writes a and a blank; the
// trailing blank is dropped.
Text commonWords(const TextList& a, const TextList& b);

// Each local that is the same word as a later local, followed by a blank.
Text findDuplicateWords(const TextList& locals);

}  // namespace quenlit
