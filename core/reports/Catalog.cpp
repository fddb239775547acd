#include "reports/Catalog.h"

#include <cstdio>

#include "source/CodeLines.h"
#include "source/DefunTable.h"
#include "source/SourceFile.h"

namespace quenlit {

namespace {

const char16_t kSeparator[] = u"--------------------------------------------------";

}  // namespace

void getDefunComment(const TextList& sourceLines, int& line, Text& comment) {
  comment.clear();
  if (line <= 0 || size_t(line) > sourceLines.size()) return;
  int first = 0;
  for (int k = line - 1; k >= 0; --k) {
    Text t = trim(sourceLines[size_t(k)]);
    if (t.empty() || t[0] != u';') {
      first = k + 1;
      break;
    }
  }
  for (int k = first; k < line; ++k) {
    comment += u"  ";
    comment += removeChar(trim(sourceLines[size_t(k)]), u';');
    if (k != line - 1) comment += u"\r\n";
  }
  line = first;
}

Text formatDateTime(const std::tm& t) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%04d/%02d/%02d %d:%02d:%02d", t.tm_year + 1900, t.tm_mon + 1, t.tm_mday, t.tm_hour,
                t.tm_min, t.tm_sec);
  return fromAscii(buf);
}

Text CatalogClock::formatLocalDateTime(std::time_t t) {
  // One thread only: the static buffer of localtime is not shared.
  const std::tm* local = std::localtime(&t);
  return local ? formatDateTime(*local) : Text();
}

void makeLspIndex(const TextList& source, TextView activeFileName, ResultPane& pane, ProgressBar& progress,
                  const CatalogClock& clock) {
  pane.clear();
  TextList codeLines, table;
  makeCodeLines(source, codeLines, progress, 80);
  makeDefunList(codeLines, table, 20, progress, true);
  if (table.empty()) {
    progress.setPosition(0);
    return;
  }
  sortList(table);
  PaneUpdate update(pane);
  for (const auto& record : table) {
    auto d = parseDefunRecord(record);
    if (!d) continue;
    Text args = getDefunArgs(codeLines, d->startLine, d->startCol);
    if (!args.empty()) {
      args = replaceAll(args, u"\r\n", u" ");
      if (args.back() == u' ') args.pop_back();
    }
    Text head = d->name + u" " + args;
    pane.addLine(kSeparator);
    // Any "C:" marks a command, even one inside a parameter name.
    const bool command = toUpperAscii(head).find(u"C:") != Text::npos;
    pane.addLine((command ? u"■ " : u"□ ") + head);

    int line = d->startLine;
    Text comment;
    getDefunComment(source, line, comment);
    if (comment.empty()) continue;
    size_t pos = 0;
    for (;;) {
      size_t end = comment.find(u"\r\n", pos);
      Text t = trim(TextView(comment).substr(pos, end == Text::npos ? Text::npos : end - pos));
      // A row of one repeated character (dashes, equals signs) is decoration.
      if (!t.empty() && !removeChar(t, t[0]).empty()) pane.addLine(u"\t" + t);
      if (end == Text::npos) break;
      pos = end + 2;
    }
  }
  pane.insertLine(0, u"■ LISP関数カタログ ******************************");
  pane.insertLine(1, u" ファイル : " + fileNamePart(activeFileName));
  pane.insertLine(2, u" 作成日時 : " + (clock.format ? clock.format(clock.now ? clock.now() : std::time(nullptr)) : Text()));
  pane.insertLine(3, u"*********************************************** ■");
  progress.setPosition(0);
}

}  // namespace quenlit
