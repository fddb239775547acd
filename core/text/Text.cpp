#include "text/Text.h"

#include <algorithm>

namespace quenlit {

char16_t toUpperAscii(char16_t c) { return (c >= u'a' && c <= u'z') ? char16_t(c - 32) : c; }

Text toUpperAscii(TextView s) {
  Text out(s);
  for (auto& c : out) c = toUpperAscii(c);
  return out;
}

bool sameWordAscii(TextView a, TextView b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (toUpperAscii(a[i]) != toUpperAscii(b[i])) return false;
  return true;
}

Text trim(TextView s) {
  size_t b = 0, e = s.size();
  while (b < e && s[b] <= 32) ++b;
  while (e > b && s[e - 1] <= 32) --e;
  return Text(s.substr(b, e - b));
}

bool isBlank(TextView s) {
  return std::all_of(s.begin(), s.end(), [](char16_t c) { return c <= 32; });
}

static inline char16_t foldForList(char16_t c) {
  if (c >= u'a' && c <= u'z') return char16_t(c - 32);
  if (c >= 0xFF41 && c <= 0xFF5A) return char16_t(c - 0x20);  // full-width a-z
  return c;
}

int listCompare(TextView a, TextView b) {
  const size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    char16_t x = foldForList(a[i]), y = foldForList(b[i]);
    if (x != y) return x < y ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

size_t ListKeyHash::operator()(TextView s) const {
  uint64_t h = 1469598103934665603ULL;
  for (char16_t c : s) h = (h ^ foldForList(c)) * 1099511628211ULL;
  return size_t(h);
}

void sortList(TextList& list) {
  std::stable_sort(list.begin(), list.end(), [](const Text& a, const Text& b) { return listLess(a, b); });
}

TextList splitCommaText(TextView s) {
  // The text ends at the first NUL, as a C string would.
  if (auto z = s.find(char16_t(0)); z != TextView::npos) s = s.substr(0, z);
  TextList items;
  size_t i = 0;
  const size_t n = s.size();
  auto skipControl = [&] {
    while (i < n && s[i] >= 1 && s[i] <= 32) ++i;
  };
  skipControl();
  while (i < n) {
    Text item;
    if (s[i] == u'"') {
      ++i;
      while (i < n) {
        if (s[i] == u'"') {
          if (i + 1 < n && s[i + 1] == u'"') {
            item += u'"';
            i += 2;
            continue;
          }
          ++i;
          break;
        }
        item += s[i++];
      }
    } else {
      size_t b = i;
      while (i < n && s[i] > 32 && s[i] != u',') ++i;
      item.assign(s.substr(b, i - b));
    }
    items.push_back(std::move(item));
    skipControl();
    if (i < n && s[i] == u',') {
      if (i == n - 1) items.emplace_back();
      ++i;
      skipControl();
    }
  }
  return items;
}

size_t findUpperAscii(TextView s, TextView upperNeedle) {
  const size_t m = upperNeedle.size();
  if (m == 0) return 0;
  if (m > s.size()) return TextView::npos;
  const size_t last = s.size() - m;
  const char16_t first = upperNeedle[0];
  // Every analysis searches every line for "(DEFUN " and the like, so the first
  // character is found the cheap way: a plain find when it is no letter, and one
  // test for both cases (they differ only in bit 5) when it is.
  const bool letter = first >= u'A' && first <= u'Z';
  const char16_t lower = char16_t(first | 0x20);
  for (size_t i = 0; i <= last; ++i) {
    if (letter) {
      if (char16_t(s[i] | 0x20) != lower) continue;
    } else {
      i = s.find(first, i);
      if (i == TextView::npos || i > last) return TextView::npos;
    }
    size_t k = 1;
    while (k < m && toUpperAscii(s[i + k]) == upperNeedle[k]) ++k;
    if (k == m) return i;
  }
  return TextView::npos;
}

Text replaceAll(TextView s, TextView from, TextView to) {
  if (from.empty()) return Text(s);
  Text out;
  out.reserve(s.size());
  size_t pos = 0;
  for (;;) {
    size_t f = s.find(from, pos);
    if (f == TextView::npos) break;
    out.append(s.substr(pos, f - pos));
    out.append(to);
    pos = f + from.size();
  }
  out.append(s.substr(pos));
  return out;
}

Text removeChar(TextView s, char16_t c) {
  Text out;
  out.reserve(s.size());
  for (char16_t x : s)
    if (x != c) out += x;
  return out;
}

bool startsWith(TextView s, TextView prefix) { return s.substr(0, prefix.size()) == prefix; }

Text toText(long long n) { return fromAscii(std::to_string(n)); }

Text fromAscii(std::string_view s) { return Text(s.begin(), s.end()); }

std::string toUtf8(TextView s) {
  std::string out;
  out.reserve(s.size());
  for (size_t i = 0; i < s.size(); ++i) {
    uint32_t c = s[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < s.size() && s[i + 1] >= 0xDC00 && s[i + 1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (s[i + 1] - 0xDC00);
      ++i;
    } else if (c >= 0xD800 && c <= 0xDFFF) {
      c = 0xFFFD;
    }
    if (c < 0x80) {
      out += char(c);
    } else if (c < 0x800) {
      out += char(0xC0 | (c >> 6));
      out += char(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      out += char(0xE0 | (c >> 12));
      out += char(0x80 | ((c >> 6) & 0x3F));
      out += char(0x80 | (c & 0x3F));
    } else {
      out += char(0xF0 | (c >> 18));
      out += char(0x80 | ((c >> 12) & 0x3F));
      out += char(0x80 | ((c >> 6) & 0x3F));
      out += char(0x80 | (c & 0x3F));
    }
  }
  return out;
}

std::optional<long long> parseDecimal(TextView s, bool sign) {
  size_t i = 0;
  const bool minus = sign && !s.empty() && s[0] == u'-';
  if (sign && !s.empty() && (s[0] == u'+' || minus)) i = 1;
  if (i == s.size()) return std::nullopt;
  long long v = 0;
  for (; i < s.size(); ++i) {
    if (s[i] < u'0' || s[i] > u'9') return std::nullopt;
    v = v * 10 + (s[i] - u'0');
    if (v > (1LL << 31)) return std::nullopt;
  }
  return minus ? -v : v;
}

Text fileNamePart(TextView path, TextView separators) {
  const size_t cut = path.find_last_of(separators);
  return Text(cut == TextView::npos ? path : path.substr(cut + 1));
}

bool hasLspExtension(TextView path) {
  const Text name = fileNamePart(path);
  const size_t dot = name.rfind(u'.');
  return dot != Text::npos && toUpperAscii(TextView(name).substr(dot)) == u".LSP";
}

}  // namespace quenlit
