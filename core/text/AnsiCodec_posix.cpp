// ANSI code pages through iconv, for systems that have no code page of their own.
#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <string>

#include "text/Encoding.h"

namespace quenlit {

namespace {

std::string iconvName(unsigned codePage) {
  switch (codePage) {
    case 65001: return "UTF-8";
    case 20127: return "ASCII";
    case 28591: return "ISO-8859-1";
    case 20932: return "EUC-JP";
    default: return "CP" + std::to_string(codePage);
  }
}

struct Iconv {
  iconv_t cd;
  Iconv(const std::string& to, const std::string& from) : cd(iconv_open(to.c_str(), from.c_str())) {}
  ~Iconv() {
    if (ok()) iconv_close(cd);
  }
  bool ok() const { return cd != reinterpret_cast<iconv_t>(-1); }
  Iconv(const Iconv&) = delete;
  Iconv& operator=(const Iconv&) = delete;
};

bool allAscii(std::string_view s) {
  for (char c : s)
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  return true;
}

}  // namespace

unsigned systemAnsiCodePage() { return 932; }

bool isKnownCodePage(unsigned codePage) {
  if (codePage == 0) return false;
  Iconv cd("UTF-16LE", iconvName(codePage));
  return cd.ok();
}

Text ansiDecode(std::string_view bytes, unsigned codePage) {
  Text out;
  // Every code page we accept keeps ASCII as it is; skip iconv for pure ASCII.
  if (allAscii(bytes)) return Text(bytes.begin(), bytes.end());
  Iconv cd("UTF-16LE", iconvName(codePage));
  if (!cd.ok()) {
    // Unknown code page: keep the bytes readable as Latin-1 rather than fail.
    return Text(reinterpret_cast<const unsigned char*>(bytes.data()),
                reinterpret_cast<const unsigned char*>(bytes.data()) + bytes.size());
  }
  out.reserve(bytes.size());
  std::string buf(4096, '\0');
  char* in = const_cast<char*>(bytes.data());
  size_t inLeft = bytes.size();
  while (inLeft > 0) {
    char* o = buf.data();
    size_t oLeft = buf.size();
    size_t r = iconv(cd.cd, &in, &inLeft, &o, &oLeft);
    const size_t produced = buf.size() - oLeft;
    for (size_t k = 0; k + 1 < produced; k += 2)
      out += char16_t(static_cast<unsigned char>(buf[k]) | (static_cast<unsigned char>(buf[k + 1]) << 8));
    if (r == static_cast<size_t>(-1)) {
      if (errno == E2BIG) continue;
      // Invalid or truncated sequence: one replacement character per byte, then go on.
      out += char16_t(0xFFFD);
      ++in;
      --inLeft;
      iconv(cd.cd, nullptr, nullptr, nullptr, nullptr);
    }
  }
  return out;
}

std::string ansiEncode(TextView text, unsigned codePage) {
  std::string out;
  bool ascii = true;
  for (char16_t c : text)
    if (c >= 0x80) {
      ascii = false;
      break;
    }
  if (ascii) return std::string(text.begin(), text.end());
  Iconv cd(iconvName(codePage), "UTF-16LE");
  if (!cd.ok()) {
    for (char16_t c : text) out += c < 0x100 ? char(c) : '?';
    return out;
  }
  std::string in;
  in.reserve(text.size() * 2);
  for (char16_t c : text) {
    in += char(c & 0xFF);
    in += char(c >> 8);
  }
  out.reserve(text.size() * 2);
  std::string buf(4096, '\0');
  char* ip = in.data();
  size_t inLeft = in.size();
  while (inLeft > 0) {
    char* o = buf.data();
    size_t oLeft = buf.size();
    size_t r = iconv(cd.cd, &ip, &inLeft, &o, &oLeft);
    out.append(buf.data(), buf.size() - oLeft);
    if (r == static_cast<size_t>(-1)) {
      if (errno == E2BIG) continue;
      // Unencodable or broken unit: "?" per UTF-16 unit, as the Windows conversion writes.
      const bool pair = inLeft >= 4 && (static_cast<unsigned char>(ip[1]) & 0xFC) == 0xD8 &&
                        (static_cast<unsigned char>(ip[3]) & 0xFC) == 0xDC;
      const size_t skip = std::min<size_t>(pair ? 4 : 2, inLeft);
      out.append(skip / 2, '?');
      ip += skip;
      inLeft -= skip;
      iconv(cd.cd, nullptr, nullptr, nullptr, nullptr);
    }
  }
  return out;
}

}  // namespace quenlit
