#include "text/TextFile.h"

namespace quenlit {

std::optional<TextFileContent> readTextFile(const std::filesystem::path& path, FileError& error, unsigned codePage) {
  std::error_code ec;
  if (!std::filesystem::exists(path, ec)) return std::nullopt;
  if (codePage == 0) codePage = ansiCodePage();
  std::string bytes;
  if (!readFileBytes(path, bytes, error)) return std::nullopt;
  auto decoded = decodeBytes(bytes, Encoding::Ansi, codePage);  // the ANSI fallback never fails
  TextFileContent content;
  content.lines = splitLines(decoded->text);
  content.encoding = decoded->encoding;
  content.codePage = codePage;
  return content;
}

bool fitsCodePage(const TextList& lines, unsigned codePage) {
  for (const auto& l : lines)
    if (ansiDecode(ansiEncode(l, codePage), codePage) != l) return false;
  return true;
}

std::string encodeTextFile(TextFileContent& content, Encoding unicodeFallback) {
  if (content.codePage == 0) content.codePage = ansiCodePage();
  if (content.encoding == Encoding::Ansi && !fitsCodePage(content.lines, content.codePage))
    content.encoding = unicodeFallback;
  return encodeLines(content.lines, content.encoding, content.codePage);
}

bool writeTextFile(const std::filesystem::path& path, TextFileContent& content, Encoding unicodeFallback,
                   FileError& error) {
  return writeFileAtomically(path, encodeTextFile(content, unicodeFallback), error);
}

}  // namespace quenlit
