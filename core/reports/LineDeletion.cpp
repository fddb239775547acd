#include "reports/LineDeletion.h"

#include <climits>

#include "reports/LineSearch.h"

namespace quenlit {

namespace fs = std::filesystem;

namespace {

DeletionResult writeFailure(const fs::path& p, const FileError& error) {
  DeletionResult r;
  r.failedPath = p;
  r.error = error;
  r.message = textFromPath(p) + u": " + fromUtf8Lenient(error.reason);
  return r;
}

}  // namespace

DeletionCheck checkLineDeletion(TextView searchText, const ResultPane& pane) {
  DeletionCheck check;
  if (searchText.empty() || pane.lineCount() == 0) return check;
  for (size_t k = pane.lineCount(); k-- > 0;) {
    const size_t bar = pane.line(k).find(u'|');
    if (bar == Text::npos || bar < 1 || bar > 9) {
      check.step = DeletionCheck::kRefused;
      check.message = kNotAllNumberedMessage;
      return check;
    }
  }
  check.step = DeletionCheck::kConfirm;
  check.title = kDeletionTitle;
  check.question = kDeletionQuestion;
  return check;
}

fs::path backupPathFor(const fs::path& file) {
  fs::path backup = file;
  const Text ext = textFromPath(file.extension());
  // A file that is itself a ".bak" must not become its own backup.
  if (ext.empty() || sameWordAscii(ext, u".bak"))
    backup += ".bak";
  else
    backup.replace_extension(".bak");
  return backup;
}

DeletionResult runLineDeletion(SourceLines& source, const fs::path& fullName, TextView searchText, bool ordered,
                               ResultPane& pane, const FileWriter& write) {
  const unsigned codePage = source.codePage ? source.codePage : ansiCodePage();
  const fs::path backup = backupPathFor(fullName);
  FileError error;
  std::string original;
  if (const RewriteCheck check = checkRewrite(source, fullName, error, &original); check != RewriteCheck::kSafe) {
    if (check == RewriteCheck::kUnreadable) return writeFailure(fullName, error);
    DeletionResult refused;
    refused.refusal = check;
    refused.message = check == RewriteCheck::kLossy ? kLossyFileMessage : kFileChangedMessage;
    return refused;
  }
  // The backup is the file itself, byte for byte; the rewrite keeps its line breaks,
  // so that no line but the deleted ones differs from it.
  if (!write(backup, original, error)) return writeFailure(backup, error);
  const auto decoded = decodeBytes(original, source.encoding == Encoding::Ansi ? Encoding::Ansi : Encoding::Utf8, codePage);
  const Text lineEnd = decoded ? lineEndOf(decoded->text) : Text(u"\r\n");

  // Deletions go to a copy that replaces the source lines only once the file holds it.
  TextList lines = source.lines;
  TextList deleted;
  // Pane lines are walked bottom-up; as long as each number is below every line
  // already marked, no mark has shifted it, so marking and one final compaction
  // equal deleting one line at a time. A hand-edited pane out of order compacts first.
  std::vector<char> marked(lines.size(), 0);
  bool anyMarked = false;
  size_t lowestMarked = 0;
  auto compact = [&] {
    size_t w = 0;
    for (size_t r = 0; r < lines.size(); ++r)
      if (!marked[r]) {
        if (w != r) lines[w] = std::move(lines[r]);
        ++w;
      }
    lines.resize(w);
    marked.assign(lines.size(), 0);
    anyMarked = false;
  };
  for (size_t k = pane.lineCount(); k-- > 0;) {
    const Text paneLine = pane.line(k);
    const size_t bar = paneLine.find(u'|');
    if (bar == Text::npos) continue;
    const auto number = parseDecimal(trim(TextView(paneLine).substr(0, bar)));
    const long long n = number && *number <= INT_MAX ? *number : 0;
    const Text t = trim(TextView(paneLine).substr(bar + 1));
    if (n < 1 || t.empty()) continue;
    const size_t index = size_t(n - 1);
    if (anyMarked && index >= lowestMarked) compact();
    // A number beyond the file can only have been typed into the pane: skip it.
    if (index >= lines.size()) continue;
    if (lines[index].find(t) == Text::npos) continue;
    marked[index] = 1;
    anyMarked = true;
    lowestMarked = index;
    deleted.push_back(paneLine);
  }
  if (anyMarked) compact();

  const std::string bytes = encodeLines(lines, source.encoding, codePage, lineEnd);
  if (!write(fullName, bytes, error)) return writeFailure(fullName, error);
  source.lines = std::move(lines);
  // The file now holds exactly these lines, so a second deletion may follow.
  source.origin = SourceOrigin{fullName, bytes.size(), hashBytes(bytes)};

  DeletionResult result;
  result.ok = true;
  result.deleted.assign(deleted.rbegin(), deleted.rend());
  // With every line gone the search does nothing; its old results must not stay
  // in the pane, where another click would back up the empty file over the .bak.
  if (!runLineSearch(source.lines, searchText, ordered, pane)) pane.clear();
  return result;
}

}  // namespace quenlit
