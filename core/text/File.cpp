#include "text/File.h"

#include <system_error>

namespace quenlit {

namespace fs = std::filesystem;

std::filesystem::path pathFromText(TextView text) {
#ifdef _WIN32
  return fs::path(std::wstring(text.begin(), text.end()));
#else
  return fs::path(toUtf8(text));
#endif
}

Text textFromPath(const fs::path& path) {
#ifdef _WIN32
  const std::wstring& w = path.native();
  return Text(w.begin(), w.end());
#else
  return fromUtf8Lenient(path.native());
#endif
}

bool fileExists(TextView path) {
  if (path.empty()) return false;
  std::error_code ec;
  auto st = fs::status(pathFromText(path), ec);
  return !ec && fs::exists(st) && !fs::is_directory(st);
}

std::uint64_t hashBytes(std::string_view bytes) {
  std::uint64_t h = 14695981039346656037ull;
  for (unsigned char c : bytes) {
    h ^= c;
    h *= 1099511628211ull;
  }
  return h;
}

}  // namespace quenlit
