// ANSI code pages through the system's own conversion functions.
#include <windows.h>

#include "text/Encoding.h"

namespace quenlit {

unsigned systemAnsiCodePage() { return GetACP(); }

bool isKnownCodePage(unsigned codePage) { return codePage != 0 && IsValidCodePage(codePage); }

Text ansiDecode(std::string_view bytes, unsigned codePage) {
  if (bytes.empty()) return {};
  const int n = MultiByteToWideChar(codePage, 0, bytes.data(), int(bytes.size()), nullptr, 0);
  if (n <= 0) return Text(bytes.begin(), bytes.end());
  std::wstring w(size_t(n), L'\0');
  MultiByteToWideChar(codePage, 0, bytes.data(), int(bytes.size()), w.data(), n);
  return Text(w.begin(), w.end());
}

std::string ansiEncode(TextView text, unsigned codePage) {
  if (text.empty()) return {};
  std::wstring w(text.begin(), text.end());
  const int n = WideCharToMultiByte(codePage, 0, w.data(), int(w.size()), nullptr, 0, nullptr, nullptr);
  if (n <= 0) return std::string(text.begin(), text.end());
  std::string out(size_t(n), '\0');
  WideCharToMultiByte(codePage, 0, w.data(), int(w.size()), out.data(), n, nullptr, nullptr);
  return out;
}

}  // namespace quenlit
