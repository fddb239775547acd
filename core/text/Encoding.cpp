#include "text/Encoding.h"

namespace quenlit {

namespace {

// Decodes one UTF-8 sequence at s[i]; returns its length or 0 when invalid.
size_t utf8Sequence(std::string_view s, size_t i, uint32_t& cp) {
  const auto b0 = static_cast<unsigned char>(s[i]);
  if (b0 < 0x80) {
    cp = b0;
    return 1;
  }
  size_t len;
  uint32_t min;
  if (b0 >= 0xC2 && b0 <= 0xDF) {
    len = 2;
    cp = b0 & 0x1F;
    min = 0x80;
  } else if (b0 >= 0xE0 && b0 <= 0xEF) {
    len = 3;
    cp = b0 & 0x0F;
    min = 0x800;
  } else if (b0 >= 0xF0 && b0 <= 0xF4) {
    len = 4;
    cp = b0 & 0x07;
    min = 0x10000;
  } else {
    return 0;
  }
  if (i + len > s.size()) return 0;
  for (size_t k = 1; k < len; ++k) {
    const auto b = static_cast<unsigned char>(s[i + k]);
    if ((b & 0xC0) != 0x80) return 0;
    cp = (cp << 6) | (b & 0x3F);
  }
  if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
  return len;
}

void appendCodePoint(Text& out, uint32_t cp) {
  if (cp < 0x10000) {
    out += char16_t(cp);
  } else {
    cp -= 0x10000;
    out += char16_t(0xD800 + (cp >> 10));
    out += char16_t(0xDC00 + (cp & 0x3FF));
  }
}

bool hasPrefix(std::string_view s, std::string_view p) { return s.substr(0, p.size()) == p; }

}  // namespace

std::optional<Text> decodeUtf8Strict(std::string_view bytes) {
  Text out;
  out.reserve(bytes.size());
  for (size_t i = 0; i < bytes.size();) {
    uint32_t cp;
    // ASCII runs dominate source files; take them without the general path.
    if (static_cast<unsigned char>(bytes[i]) < 0x80) {
      out += char16_t(bytes[i++]);
      continue;
    }
    size_t len = utf8Sequence(bytes, i, cp);
    if (len == 0) return std::nullopt;
    appendCodePoint(out, cp);
    i += len;
  }
  return out;
}

Text fromUtf8Lenient(std::string_view s) {
  Text out;
  out.reserve(s.size());
  for (size_t i = 0; i < s.size();) {
    uint32_t cp;
    size_t len = utf8Sequence(s, i, cp);
    if (len == 0) {
      out += char16_t(0xFFFD);
      ++i;
    } else {
      appendCodePoint(out, cp);
      i += len;
    }
  }
  return out;
}

Text decodeUtf16(std::string_view bytes, bool bigEndian) {
  Text out;
  out.reserve(bytes.size() / 2 + 1);
  size_t i = 0;
  for (; i + 1 < bytes.size(); i += 2) {
    const auto a = static_cast<unsigned char>(bytes[i]);
    const auto b = static_cast<unsigned char>(bytes[i + 1]);
    out += bigEndian ? char16_t((a << 8) | b) : char16_t((b << 8) | a);
  }
  if (i < bytes.size()) out += char16_t(0xFFFD);
  return out;
}

std::optional<DecodedText> decodeBytes(std::string_view bytes, Encoding fallback, unsigned codePage) {
  if (hasPrefix(bytes, "\xEF\xBB\xBF")) {
    // A marked UTF-8 file is decoded leniently: the mark settles the encoding.
    return DecodedText{fromUtf8Lenient(bytes.substr(3)), Encoding::Utf8};
  }
  if (hasPrefix(bytes, "\xFF\xFE")) return DecodedText{decodeUtf16(bytes.substr(2), false), Encoding::Utf16LE};
  if (hasPrefix(bytes, "\xFE\xFF")) return DecodedText{decodeUtf16(bytes.substr(2), true), Encoding::Utf16BE};
  if (fallback == Encoding::Ansi) return DecodedText{ansiDecode(bytes, codePage), Encoding::Ansi};
  if (fallback == Encoding::Utf16LE || fallback == Encoding::Utf16BE)
    return DecodedText{decodeUtf16(bytes, fallback == Encoding::Utf16BE), fallback};
  auto text = decodeUtf8Strict(bytes);
  if (!text) return std::nullopt;
  return DecodedText{std::move(*text), Encoding::Utf8};
}

DecodedText decodeAuto(std::string_view bytes, unsigned codePage) {
  if (auto d = decodeBytes(bytes, Encoding::Utf8, codePage)) return std::move(*d);
  return *decodeBytes(bytes, Encoding::Ansi, codePage);
}

TextList splitLines(TextView text) {
  TextList lines;
  size_t start = 0;
  const size_t n = text.size();
  size_t i = 0;
  while (i < n) {
    const char16_t c = text[i];
    if (c == u'\r' || c == u'\n') {
      lines.emplace_back(text.substr(start, i - start));
      i += (c == u'\r' && i + 1 < n && text[i + 1] == u'\n') ? 2 : 1;
      start = i;
    } else {
      ++i;
    }
  }
  if (start < n) lines.emplace_back(text.substr(start));
  return lines;
}

std::string encodeText(TextView text, Encoding encoding, unsigned codePage) {
  switch (encoding) {
    case Encoding::Utf8:
      return toUtf8(text);
    case Encoding::Utf16LE:
    case Encoding::Utf16BE: {
      std::string out;
      out.reserve(text.size() * 2);
      const bool be = encoding == Encoding::Utf16BE;
      for (char16_t c : text) {
        const char hi = char(c >> 8), lo = char(c & 0xFF);
        out += be ? hi : lo;
        out += be ? lo : hi;
      }
      return out;
    }
    case Encoding::Ansi:
      return ansiEncode(text, codePage);
  }
  return {};
}

Text lineEndOf(TextView text) {
  TextView seen;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != u'\r' && text[i] != u'\n') continue;
    const bool crlf = text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n';
    const TextView end = text.substr(i, crlf ? 2 : 1);
    if (!seen.empty() && end != seen) return u"\r\n";
    seen = end;
    i += crlf;
  }
  return seen.empty() ? Text(u"\r\n") : Text(seen);
}

std::string encodeLines(const TextList& lines, Encoding encoding, unsigned codePage, TextView lineEnd) {
  Text all;
  size_t total = 0;
  for (const auto& l : lines) total += l.size() + lineEnd.size();
  all.reserve(total);
  for (const auto& l : lines) {
    all += l;
    all += lineEnd;
  }
  std::string out;
  switch (encoding) {
    case Encoding::Utf8: out = "\xEF\xBB\xBF"; break;
    case Encoding::Utf16LE: out = "\xFF\xFE"; break;
    case Encoding::Utf16BE: out = "\xFE\xFF"; break;
    case Encoding::Ansi: break;
  }
  out += encodeText(all, encoding, codePage);
  return out;
}

bool roundTrips(std::string_view bytes, Encoding encoding, unsigned codePage) {
  std::string_view body = bytes;
  Text text;
  switch (encoding) {
    case Encoding::Utf8: {
      if (hasPrefix(body, "\xEF\xBB\xBF")) body.remove_prefix(3);
      // Strict UTF-8 has one spelling per character, so what decodes strictly round-trips.
      return decodeUtf8Strict(body).has_value();
    }
    case Encoding::Utf16LE:
    case Encoding::Utf16BE:
      if (hasPrefix(body, encoding == Encoding::Utf16LE ? "\xFF\xFE" : "\xFE\xFF")) body.remove_prefix(2);
      if (body.size() % 2) return false;  // the odd byte became U+FFFD
      return true;                        // every pair of bytes is kept as one code unit
    case Encoding::Ansi:
      text = ansiDecode(body, codePage);
      break;
  }
  return encodeText(text, encoding, codePage) == body;
}

}  // namespace quenlit
