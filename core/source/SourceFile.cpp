#include "source/SourceFile.h"

#include <system_error>

namespace quenlit {

namespace fs = std::filesystem;

LoadOutcome loadLspFile(const fs::path& path, SourceLines& lspSL, const std::function<void()>& processMessages,
                        unsigned codePage) {
  if (codePage == 0) codePage = ansiCodePage();
  LoadOutcome outcome;
  std::string bytes;
  // The file is read again for the ANSI attempt, as a second read of a file that
  // vanished or is held by another program must fail the same way.
  for (Encoding fallback : {Encoding::Utf8, Encoding::Ansi}) {
    outcome.label = fallback == Encoding::Utf8 ? u"UTF8" : u"ANSI";
    if (!readFileBytes(path, bytes, outcome.error)) continue;
    auto decoded = decodeBytes(bytes, fallback, codePage);
    if (!decoded) continue;
    lspSL.lines = splitLines(decoded->text);
    lspSL.encoding = decoded->encoding;
    lspSL.codePage = codePage;
    lspSL.origin = SourceOrigin{path, bytes.size(), hashBytes(bytes)};
    if (processMessages) processMessages();
    outcome.ok = true;
    outcome.error = {};
    return outcome;
  }
  return outcome;
}

RewriteCheck checkRewrite(const SourceLines& source, const fs::path& target, FileError& error,
                          std::string* bytesRead) {
  if (source.origin.path.empty() || source.origin.path != target) return RewriteCheck::kOtherFile;
  std::error_code ec;
  if (!fs::exists(target, ec)) return RewriteCheck::kChanged;
  std::string bytes;
  if (!readFileBytes(target, bytes, error)) return RewriteCheck::kUnreadable;
  // The bytes decide: a save that changed nothing does not count as a change.
  if (bytes.size() != source.origin.size || hashBytes(bytes) != source.origin.hash) return RewriteCheck::kChanged;
  const unsigned codePage = source.codePage ? source.codePage : ansiCodePage();
  if (!roundTrips(bytes, source.encoding, codePage)) return RewriteCheck::kLossy;
  if (bytesRead) *bytesRead = std::move(bytes);
  return RewriteCheck::kSafe;
}

}  // namespace quenlit
