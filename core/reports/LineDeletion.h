// Deleting every source line listed by the line search, with a ".bak" copy first.
#pragma once

#include <filesystem>
#include <functional>
#include <string_view>

#include "pane/ResultPane.h"
#include "source/SourceFile.h"
#include "text/Text.h"

namespace quenlit {

inline constexpr char16_t kNotAllNumberedMessage[] = u"全行で行番号が取得できまません.";
inline constexpr char16_t kDeletionTitle[] = u"検索行削除";
inline constexpr char16_t kFileChangedMessage[] =
    u"ファイルが読み込み後に変更されています．再読み込みしてから実行して下さい．";
inline constexpr char16_t kLossyFileMessage[] =
    u"ファイルの文字コードを正しく読み込めていないため、書き換えると他の行も変わってしまいます．削除を中止しました．";
inline constexpr char16_t kDeletionQuestion[] =
    u"エディターで編集中の時は閉じてから実行して下さい.\n現ファイルは .bak で保存されます.\n検索行をすべて削除しますか？";

// What the delete button does before anything is written.
struct DeletionCheck {
  enum Step {
    kNothing,  // empty search text or empty pane: no reaction at all
    kRefused,  // show `message` (OK only) and stop
    kConfirm,  // ask `question` under `title` (Yes/No); on Yes run runLineDeletion
  } step = kNothing;
  Text message;
  Text title;
  Text question;
};

// Every pane line must have its first "|" at character 2 to 10 (1-based).
DeletionCheck checkLineDeletion(TextView searchText, const ResultPane& pane);

// The file beside `file` that receives its bytes as read: the extension replaced
// by ".bak", or ".bak" appended when there is none or the file is itself a ".bak".
std::filesystem::path backupPathFor(const std::filesystem::path& file);

using FileWriter = std::function<bool(const std::filesystem::path&, std::string_view, FileError&)>;

struct DeletionResult {
  bool ok = false;
  TextList deleted;                   // the pane lines whose source lines went, top to bottom
  std::filesystem::path failedPath;   // the file that could not be written
  FileError error;
  Text message;                       // what to show when !ok
  RewriteCheck refusal = RewriteCheck::kSafe;  // why nothing was written, when the file was not safe to rewrite
};

// After a confirmed check: makes sure the file still holds what the lines were
// read from (checkRewrite; otherwise nothing is written and `refusal` and
// `message` say why), writes the file's bytes as read to the backup, deletes the
// listed lines, writes the file in the encoding it was read in, with its own line
// breaks (LF, CR LF or CR when all lines end alike, else CR LF), and searches again
// into the pane. Pane lines whose number is not a line of the file, or whose text
// no longer stands in that line, are skipped. If the backup cannot be written
// nothing changes; if the file cannot be written the source lines keep matching
// the file on disk. Writes go through `write`, atomic by default.
DeletionResult runLineDeletion(SourceLines& source, const std::filesystem::path& fullName, TextView searchText,
                               bool ordered, ResultPane& pane, const FileWriter& write = writeFileAtomically);

}  // namespace quenlit
