// UTF-16 text helpers shared by every subsystem.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quenlit {

using Text = std::u16string;
using TextView = std::u16string_view;
using TextList = std::vector<std::u16string>;

// a-z to A-Z only; every other code unit is kept.
Text toUpperAscii(TextView s);
char16_t toUpperAscii(char16_t c);

// "Same word": equal after ASCII upper-casing of both sides.
bool sameWordAscii(TextView a, TextView b);

// Removes code units 0..32 at both ends.
Text trim(TextView s);
bool isBlank(TextView s);  // only code units 0..32 (or empty)

// The one list collation of the system: ASCII a-z and full-width a-z fold
// to upper case, then UTF-16 code units compare.
int listCompare(TextView a, TextView b);
inline bool listLess(TextView a, TextView b) { return listCompare(a, b) < 0; }
inline bool listEqual(TextView a, TextView b) { return listCompare(a, b) == 0; }
void sortList(TextList& list);  // stable

// Hash and equality under which listCompare finds two texts equal, for hashed
// look-ups that must agree with the list order.
struct ListKeyHash {
  size_t operator()(TextView s) const;
};
struct ListKeyEqual {
  bool operator()(TextView a, TextView b) const { return listEqual(a, b); }
};

// Splits records, argument lists, search texts and comma lists.
TextList splitCommaText(TextView s);

// Position of the first occurrence of `upperNeedle` (already upper-cased) in `s`
// with a-z in `s` read as A-Z; npos when there is none.
size_t findUpperAscii(TextView s, TextView upperNeedle);
inline bool containsUpperAscii(TextView s, TextView upperNeedle) {
  return findUpperAscii(s, upperNeedle) != TextView::npos;
}

Text replaceAll(TextView s, TextView from, TextView to);
Text removeChar(TextView s, char16_t c);  // every occurrence of c left out
bool startsWith(TextView s, TextView prefix);
Text toText(long long n);
// The one decimal parser: digits with an optional sign (when `sign` allows one);
// nothing for anything else, for no digit, or for a size beyond 2^31. Each
// caller applies its own range.
std::optional<long long> parseDecimal(TextView s, bool sign = true);
Text fromAscii(std::string_view s);

// The part of a path after its last separator, and whether the file name's
// extension (from its last ".") is ".LSP" in any letter case.
Text fileNamePart(TextView path, TextView separators = u"\\/");
bool hasLspExtension(TextView path);

// UTF-8 <-> UTF-16 for program arguments and output. Lone surrogates and
// invalid bytes become U+FFFD so the conversions never fail.
std::string toUtf8(TextView s);
Text fromUtf8Lenient(std::string_view s);

}  // namespace quenlit
