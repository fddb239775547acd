// Byte decoding and encoding of source files and of the text files beside the executable.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "text/Text.h"

namespace quenlit {

// What a text was decoded with, and so what it is written back in.
enum class Encoding { Utf8, Utf16LE, Utf16BE, Ansi };

// Strict UTF-8: overlong forms, surrogates, code points above U+10FFFF and
// truncated sequences make the whole decoding fail.
std::optional<Text> decodeUtf8Strict(std::string_view bytes);

// UTF-16 without a mark; an odd final byte becomes U+FFFD, lone surrogates stay.
Text decodeUtf16(std::string_view bytes, bool bigEndian);

struct DecodedText {
  Text text;
  Encoding encoding = Encoding::Utf8;
};

// A byte-order mark (UTF-8, then UTF-16 LE, then UTF-16 BE) chooses the decoding
// and is dropped. Without one, `fallback` decides: Utf8 decodes strictly and gives
// nothing on invalid input; Ansi decodes with `codePage` and never fails.
std::optional<DecodedText> decodeBytes(std::string_view bytes, Encoding fallback, unsigned codePage);

// Decodes with a mark if present, else strict UTF-8, else the ANSI code page.
DecodedText decodeAuto(std::string_view bytes, unsigned codePage);

// CR LF, lone CR and lone LF end a line; a final break adds no line; empty text, no lines.
TextList splitLines(TextView text);

// The break every line of `text` ends with when all of them end alike: LF, CR LF
// or CR; CR LF for a text with mixed breaks or none.
Text lineEndOf(TextView text);

// Writes lines back in `encoding` with its mark (UTF-8 and UTF-16 get one, ANSI none),
// each line ended by `lineEnd`.
std::string encodeLines(const TextList& lines, Encoding encoding, unsigned codePage, TextView lineEnd = u"\r\n");
std::string encodeText(TextView text, Encoding encoding, unsigned codePage);  // no mark, no breaks

// True when `bytes`, read in `encoding` (a byte-order mark of that encoding
// dropped), encode back to exactly themselves: nothing was replaced or guessed
// while decoding, so writing the text back cannot change untouched lines.
bool roundTrips(std::string_view bytes, Encoding encoding, unsigned codePage);

// --- the ANSI code page (platform files implement these) ---

// The system's legacy code page: GetACP() on Windows; elsewhere 932 unless set.
unsigned systemAnsiCodePage();
void setDefaultAnsiCodePage(unsigned codePage);  // for "--ansi"; 0 restores the system's
unsigned ansiCodePage();                          // the one in force
bool isKnownCodePage(unsigned codePage);

// Never fail: a byte that the code page cannot map decodes to U+FFFD, a character it
// cannot encode becomes "?".
Text ansiDecode(std::string_view bytes, unsigned codePage);
std::string ansiEncode(TextView text, unsigned codePage);

}  // namespace quenlit
