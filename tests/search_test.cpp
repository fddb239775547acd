#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <map>

#include "TestSupport.h"
#include "reports/LineDeletion.h"
#include "reports/LineSearch.h"
#include "source/SourceFile.h"

#ifndef _WIN32
#include <csignal>
#include <sys/resource.h>
#endif

using namespace quenlit;
using namespace quenlit::test;
namespace fs = std::filesystem;

namespace {

TextList found(std::string_view src, std::string_view text, bool ordered = false) {
  return searchLines(lines(src), T(text), ordered);
}

// Result line numbers only, for the cases where the text is obvious.
std::vector<int> numbers(const TextList& results) {
  std::vector<int> n;
  for (const auto& r : results) n.push_back(std::stoi(U8(r.substr(0, r.find(u'|')))));
  return n;
}

std::string utf16(std::u16string_view s, bool bigEndian) {
  std::string out;
  for (char16_t c : s) {
    char hi = char(c >> 8), lo = char(c & 0xFF);
    out += bigEndian ? hi : lo;
    out += bigEndian ? lo : hi;
  }
  return out;
}

std::vector<std::string> folderEntries(const fs::path& dir) {
  std::vector<std::string> names;
  for (auto& e : fs::directory_iterator(dir)) names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

// Writes the file, loads it and shows the search for `text`, as the window does
// before a deletion.
void loadAndSearch(const fs::path& file, const std::string& bytes, TextView text, SourceLines& src, MemoryPane& pane) {
  writeBytes(file, bytes);
  ASSERT_TRUE(loadLspFile(file, src, {}, 932).ok) << file;
  runLineSearch(src.lines, Text(text), false, pane);
}

// Keeps what would be written instead of touching the disk.
struct RecordingWriter {
  std::map<fs::path, std::string> files;
  std::vector<fs::path> order;
  FileWriter writer() {
    return [this](const fs::path& p, std::string_view bytes, FileError&) {
      files[p] = std::string(bytes);
      order.push_back(p);
      return true;
    };
  }
};

}  // namespace

TEST(SearchTerms, Parsing) {
  struct Case {
    const char* text;
    std::vector<std::pair<const char*, bool>> terms;
  } cases[] = {
      {"setq x", {{"SETQ", false}, {"X", false}}},
      {"setq\xE3\x80\x80x", {{"SETQ", false}, {"X", false}}},  // full-width space
      {"\"setq x\"", {{"SETQ X", false}}},
      {"\"a,b\" c", {{"A,B", false}, {"C", false}}},
      {"defun !c:", {{"DEFUN", false}, {"C:", true}}},
      {"!", {{"!", false}}},
      {"!!", {{"!", true}}},
      {"   ", {}},
      {"a,", {{"A", false}, {"", false}}},
      {"a,,b", {{"A", false}, {"", false}, {"B", false}}},
      {"a , , b", {{"A", false}, {"", false}, {"B", false}}},
      {"\xEF\xBD\x81\xE6\x97\xA5", {{"\xEF\xBD\x81\xE6\x97\xA5", false}}},  // full-width a stays as typed
  };
  for (const auto& c : cases) {
    auto terms = parseSearchTerms(T(c.text));
    ASSERT_EQ(terms.size(), c.terms.size()) << c.text;
    for (size_t i = 0; i < terms.size(); ++i) {
      EXPECT_EQ(terms[i].text, T(c.terms[i].first)) << c.text << " #" << i;
      EXPECT_EQ(terms[i].negative, c.terms[i].second) << c.text << " #" << i;
    }
  }
}

TEST(LineSearch, WhichLinesAreListed) {
  const char* src =
      "(defun c:box (/ p1)\n"      // 1
      "  (setq x 1)\n"            // 2
      "  (SETQ y X)\n"            // 3
      "  (setq  x 2)\n"           // 4
      "(defun area (w) w)\n"      // 5
      "; setq x in a comment\n"   // 6
      "(princ \"setq x\")";       // 7
  struct Case {
    const char* text;
    bool ordered;
    std::vector<int> lines;
  } cases[] = {
      {"setq x", false, {2, 3, 4, 6, 7}},
      {"SETQ\xE3\x80\x80X", false, {2, 3, 4, 6, 7}},
      {"\"setq x\"", false, {2, 6, 7}},
      {"defun !c:", false, {5}},
      {"   ", false, {1, 2, 3, 4, 5, 6, 7}},
      {"setq,", false, {}},
      {"!zzz", false, {1, 2, 3, 4, 5, 6, 7}},
      {"x setq", true, {}},
      {"setq x", true, {2, 3, 4, 6, 7}},
      {"y x", true, {3}},
      {"x y", true, {}},
      {"(s x !\"", false, {2, 3, 4}},
  };
  for (const auto& c : cases) EXPECT_EQ(numbers(found(src, c.text, c.ordered)), c.lines) << c.text;
}

TEST(LineSearch, OrderModeComparesFirstOccurrences) {
  const char* src = "(a b)\n(ab)\n(b a)\n(b a b)";
  EXPECT_EQ(numbers(found(src, "a b", true)), (std::vector<int>{1, 2}));
  EXPECT_EQ(numbers(found(src, "a b", false)), (std::vector<int>{1, 2, 3, 4}));
  EXPECT_EQ(numbers(found(src, "ab a", true)), (std::vector<int>{}));
  EXPECT_EQ(numbers(found(src, "b !ab a", true)), (std::vector<int>{3, 4}));
}

TEST(LineSearch, ResultLineFormat) {
  EXPECT_EQ(searchResultLine(7, u"  (princ)"), u"    7| (princ)");
  EXPECT_EQ(searchResultLine(42, u"\t(setq a 1) \t"), u"   42| (setq a 1)");
  EXPECT_EQ(searchResultLine(9999, u"x"), u" 9999| x");
  EXPECT_EQ(searchResultLine(12345, u"x"), u"12345| x");
  EXPECT_EQ(searchResultLine(123456, u"x"), u"123456| x");
  EXPECT_EQ(searchResultLine(3, u""), u"    3| ");
  EXPECT_EQ(found("  (setq a 1) ; 日本", "日本"), (TextList{u"    1| (setq a 1) ; 日本"}));
}

TEST(LineSearch, PaneKeepsItsTextWhenThereIsNothingToSearch) {
  MemoryPane pane;
  pane.addLine(u"earlier report");
  EXPECT_FALSE(runLineSearch(lines("(a)"), u"", false, pane));
  EXPECT_FALSE(runLineSearch({}, u"a", false, pane));
  EXPECT_EQ(pane.all(), TextList{u"earlier report"});
  EXPECT_TRUE(runLineSearch(lines("(a)\n(b)"), u"b", false, pane));
  EXPECT_EQ(pane.all(), TextList{u"    2| (b)"});
  EXPECT_TRUE(runLineSearch(lines("(a)\n(b)"), u"zzz", false, pane));
  EXPECT_TRUE(pane.all().empty());
}

TEST(LineDeletionCheck, PaneMustHoldNumberedLinesOnly) {
  struct Case {
    const char* text;
    std::vector<const char*> pane;
    DeletionCheck::Step step;
  } cases[] = {
      {"", {"    1| a"}, DeletionCheck::kNothing},
      {"a", {}, DeletionCheck::kNothing},
      {"a", {"    1| a", "   20| a"}, DeletionCheck::kConfirm},
      {"a", {"■変数チェック", "    1| a"}, DeletionCheck::kRefused},
      {"a", {"    1| a", ""}, DeletionCheck::kRefused},
      {"a", {"| a"}, DeletionCheck::kRefused},             // "|" at position 1
      {"a", {"1| a"}, DeletionCheck::kConfirm},            // position 2
      {"a", {"123456789| a"}, DeletionCheck::kConfirm},    // position 10
      {"a", {"1234567890| a"}, DeletionCheck::kRefused},   // position 11
      {"a", {"  x| a | b"}, DeletionCheck::kConfirm},      // not a number, but a "|" where one belongs
  };
  for (const auto& c : cases) {
    MemoryPane pane;
    for (auto* l : c.pane) pane.addLine(T(l));
    auto check = checkLineDeletion(T(c.text), pane);
    EXPECT_EQ(check.step, c.step) << c.text << " / " << (c.pane.empty() ? "" : c.pane[0]);
    if (check.step == DeletionCheck::kRefused) {
      EXPECT_EQ(check.message, u"全行で行番号が取得できまません.");
    }
    if (check.step == DeletionCheck::kConfirm) {
      EXPECT_EQ(check.title, u"検索行削除");
      EXPECT_EQ(check.question,
                u"エディターで編集中の時は閉じてから実行して下さい.\n現ファイルは .bak で保存されます.\n検索行をすべて削除しますか？");
    }
  }
}

TEST(LineDeletion, BackupPath) {
  EXPECT_EQ(backupPathFor("/d/x.lsp"), fs::path("/d/x.bak"));
  EXPECT_EQ(backupPathFor("/d/x"), fs::path("/d/x.bak"));
  EXPECT_EQ(backupPathFor("/d/x.y.lsp"), fs::path("/d/x.y.bak"));
  EXPECT_EQ(backupPathFor("/d.v/x"), fs::path("/d.v/x.bak"));
  EXPECT_EQ(backupPathFor("/d/x.bak"), fs::path("/d/x.bak.bak"));
  EXPECT_EQ(backupPathFor("/d/x.BAK"), fs::path("/d/x.BAK.bak"));
}

TEST(LineDeletion, WhichPaneLinesDelete) {
  const std::vector<const char*> all = {"    2| b x", "    4| d x"};  // the search for "x" on the whole file
  struct Case {
    const char* name;
    std::vector<const char*> pane;
    std::vector<const char*> remaining;
    std::vector<const char*> deleted;
    std::vector<const char*> shown;  // the search for "x" again, on what is left
  } cases[] = {
      {"listed lines go", {"    2| b x", "    4| d x"}, {"a", "c"}, {"    2| b x", "    4| d x"}, {}},
      {"text no longer in the numbered line", {"    2| zz"}, {"a", "b x", "c", "d x"}, {}, all},
      {"text is compared case-sensitively", {"    2| B X"}, {"a", "b x", "c", "d x"}, {}, all},
      {"number beyond the file", {"    9| a", "    1| a"}, {"b x", "c", "d x"}, {"    1| a"}, {"    1| b x", "    3| d x"}},
      {"not a number", {"   xy| a", "   -1| a", "    0| a", " 1 2| a"}, {"a", "b x", "c", "d x"}, {}, all},
      {"empty text never matches", {"    1|   "}, {"a", "b x", "c", "d x"}, {}, all},
      {"a second | belongs to the text", {"    2| b x|"}, {"a", "b x", "c", "d x"}, {}, all},
      // Bottom-up one at a time: after line 1 goes, "3" is the old line 4.
      {"hand-edited pane out of order", {"    3| x", "    1| a"}, {"b x", "c"}, {"    3| x", "    1| a"}, {"    1| b x"}},
      // The second "2" now names "c", which does not hold the text.
      {"the same line listed twice", {"    2| x", "    2| x"}, {"a", "c", "d x"}, {"    2| x"}, {"    3| d x"}},
  };
  TempDir dir;
  const fs::path file = dir.path / "f.lsp", backup = dir.path / "f.bak";
  writeBytes(file, "a\nb x\nc\nd x\n");
  for (const auto& c : cases) {
    SourceLines src;
    ASSERT_TRUE(loadLspFile(file, src).ok);
    MemoryPane pane;
    for (auto* l : c.pane) pane.addLine(T(l));
    RecordingWriter disk;
    auto result = runLineDeletion(src, file, u"x", false, pane, disk.writer());
    ASSERT_TRUE(result.ok) << c.name;
    TextList remaining, deleted, shown;
    for (auto* r : c.remaining) remaining.push_back(T(r));
    for (auto* d : c.deleted) deleted.push_back(T(d));
    for (auto* l : c.shown) shown.push_back(T(l));
    EXPECT_EQ(src.lines, remaining) << c.name;
    EXPECT_EQ(result.deleted, deleted) << c.name;
    // Backup first, the file's bytes as read; then the file.
    ASSERT_EQ(disk.order, (std::vector<fs::path>{backup, file})) << c.name;
    EXPECT_EQ(disk.files[backup], "a\nb x\nc\nd x\n") << c.name;
    EXPECT_EQ(pane.all(), shown) << c.name;
  }
}

TEST(LineDeletion, EveryLineCanGoAndASecondDeletionFollows) {
  TempDir dir;
  const fs::path file = dir.path / "f.lsp";
  SourceLines src;
  MemoryPane pane;
  loadAndSearch(file, "a\nb\na\n", u"b", src, pane);
  ASSERT_TRUE(runLineDeletion(src, file, u"b", false, pane).ok);
  // The file now holds what was written: no reload is needed before the next one.
  runLineSearch(src.lines, u"a", false, pane);
  ASSERT_TRUE(runLineDeletion(src, file, u"a", false, pane).ok);
  EXPECT_TRUE(src.lines.empty());
  EXPECT_EQ(readBytes(file), "\xEF\xBB\xBF");
  EXPECT_TRUE(pane.all().empty());
}

// The deletion writes only over the bytes it read, and only when they come back
// unchanged from decoding and encoding; otherwise nothing at all is written.
TEST(LineDeletion, RefusesToWriteWhatItDidNotRead) {
  struct Case {
    const char* name;
    std::string bytes;                 // what the file holds when it is loaded
    std::function<void(const fs::path&, SourceLines&)> meanwhile;  // after the load
    RewriteCheck refusal;
  } cases[] = {
      {"edited after the load", "(setq a 1)\n(setq b 2)\n",
       [](const fs::path& f, SourceLines&) { writeBytes(f, "(setq a 1)\n(setq b 2)\n(setq c 3)\n"); },
       RewriteCheck::kChanged},
      {"same size, other bytes", "(setq a 1)\n(setq b 2)\n",
       [](const fs::path& f, SourceLines&) { writeBytes(f, "(setq a 1)\n(setq b 3)\n"); }, RewriteCheck::kChanged},
      {"deleted after the load", "(setq a 1)\n", [](const fs::path& f, SourceLines&) { fs::remove(f); },
       RewriteCheck::kChanged},
      {"lines of another file",
       "(setq a 1)\n",
       [](const fs::path& f, SourceLines& src) {
         writeBytes(f.parent_path() / "other.lsp", "(setq z 1)\n");
         ASSERT_TRUE(loadLspFile(f.parent_path() / "other.lsp", src).ok);
       },
       RewriteCheck::kOtherFile},
      {"UTF-8 with a mark and a stray byte", "\xEF\xBB\xBF(setq a \"\xE6\x97\xA5\xFF\")\n", {}, RewriteCheck::kLossy},
      {"UTF-8 with a stray lead byte, read as ANSI", "(setq a 1) ; \xE6\x97\xA5\x82\n", {}, RewriteCheck::kLossy},
      {"not CP932", "(setq a 1) ; \x81\x7F\n", {}, RewriteCheck::kLossy},
      {"UTF-16 with an odd byte", std::string("\xFF\xFE(\0s\0e\0t\0q\0 \0a\0)\0a", 17), {}, RewriteCheck::kLossy},
  };
  for (const auto& c : cases) {
    TempDir dir;
    const fs::path file = dir.path / "f.lsp";
    SourceLines src;
    MemoryPane pane;
    loadAndSearch(file, c.bytes, u"setq", src, pane);
    if (c.meanwhile) c.meanwhile(file, src);
    const std::string onDisk = fs::exists(file) ? readBytes(file) : "";
    const TextList shown = pane.all();
    ASSERT_FALSE(shown.empty()) << c.name;
    auto result = runLineDeletion(src, file, u"setq", false, pane);
    EXPECT_FALSE(result.ok) << c.name;
    EXPECT_EQ(result.refusal, c.refusal) << c.name;
    EXPECT_EQ(result.message, c.refusal == RewriteCheck::kLossy ? Text(kLossyFileMessage) : Text(kFileChangedMessage))
        << c.name;
    EXPECT_EQ(fs::exists(file) ? readBytes(file) : "", onDisk) << c.name;
    EXPECT_FALSE(fs::exists(dir.path / "f.bak")) << c.name;
    EXPECT_EQ(pane.all(), shown) << c.name;
  }
}

// Loads a file, deletes the lines holding SETQ and checks both files byte for
// byte: the backup is the file as it was, the rewrite keeps the encoding, the
// file's own line breaks when all lines end alike (CR LF when mixed), and the
// encoding's byte-order mark (UTF-8 gets one).
TEST(LineDeletion, BackupIsTheFileAndTheRewriteKeepsItsLineBreaks) {
  const std::u16string lines[] = {u"(defun c:a ()", u"  (setq x 1) ; 日本", u"  (princ \"日本語\")", u"  (setq y 2))"};
  struct Coding {
    const char* name;
    std::string mark;  // before and after
    std::function<std::string(const std::u16string&)> bytes;
    Encoding encoding;
  } codings[] = {
      {"UTF-8", "", [](const std::u16string& t) { return U8(t); }, Encoding::Utf8},
      {"Shift-JIS", "",
       [](const std::u16string& t) {
         std::string out = U8(t);  // its only non-ASCII words, in Shift-JIS
         for (auto [word, cp932] : {std::pair{"日本語", "\x93\xFA\x96\x7B\x8C\xEA"}, {"日本", "\x93\xFA\x96\x7B"}})
           for (size_t at; (at = out.find(word)) != std::string::npos;) out.replace(at, strlen(word), cp932);
         return out;
       },
       Encoding::Ansi},
      {"UTF-16 LE", "\xFF\xFE", [](const std::u16string& t) { return utf16(t, false); }, Encoding::Utf16LE},
      {"UTF-16 BE", "\xFE\xFF", [](const std::u16string& t) { return utf16(t, true); }, Encoding::Utf16BE},
  };
  struct Breaks {
    const char* name;
    std::u16string ends[4];  // after each line
    std::u16string kept;     // after each line left
  } breaks[] = {
      {"LF", {u"\n", u"\n", u"\n", u"\n"}, u"\n"},
      {"CR LF", {u"\r\n", u"\r\n", u"\r\n", u"\r\n"}, u"\r\n"},
      {"CR", {u"\r", u"\r", u"\r", u"\r"}, u"\r"},
      {"LF, no final break", {u"\n", u"\n", u"\n", u""}, u"\n"},
      {"mixed", {u"\n", u"\r\n", u"\n", u"\n"}, u"\r\n"},
  };
  for (const auto& c : codings) {
    for (const auto& b : breaks) {
      const std::string what = std::string(c.name) + ", " + b.name;
      const std::u16string all = lines[0] + b.ends[0] + lines[1] + b.ends[1] + lines[2] + b.ends[2] + lines[3] + b.ends[3];
      const std::string input = c.mark + c.bytes(all);
      const std::string mark = c.encoding == Encoding::Utf8 ? "\xEF\xBB\xBF" : c.mark;
      TempDir dir;
      const fs::path file = dir.path / "f.lsp";
      SourceLines src;
      MemoryPane pane;
      loadAndSearch(file, input, u"setq", src, pane);
      ASSERT_EQ(src.encoding, c.encoding) << what;
      auto result = runLineDeletion(src, file, u"setq", false, pane);
      ASSERT_TRUE(result.ok) << what << ": " << U8(result.message);
      EXPECT_EQ(result.deleted, (TextList{u"    2| (setq x 1) ; 日本", u"    4| (setq y 2))"})) << what;
      EXPECT_EQ(readBytes(dir.path / "f.bak"), input) << what;
      EXPECT_EQ(readBytes(file), mark + c.bytes(lines[0] + b.kept + lines[2] + b.kept)) << what;
      EXPECT_EQ(src.lines, (TextList{lines[0], lines[2]})) << what;
      EXPECT_EQ(folderEntries(dir.path), (std::vector<std::string>{"f.bak", "f.lsp"})) << what;
    }
  }
}

// A write that fails, of the backup or of the file itself, leaves the file, the
// lines in memory and the pane as they were, and says which path failed and why.
TEST(LineDeletion, FailedWriteChangesNothing) {
  TempDir dir;
  const fs::path file = dir.path / "f.lsp", backup = dir.path / "f.bak";
  SourceLines src;
  MemoryPane pane;
  loadAndSearch(file, "(a)\n(b)\n", u"a", src, pane);
  auto expectNothingChanged = [&](const DeletionResult& result, const fs::path& failed, const char* what) {
    EXPECT_FALSE(result.ok) << what;
    EXPECT_EQ(result.failedPath, failed) << what;
    EXPECT_FALSE(result.error.reason.empty()) << what;
    EXPECT_TRUE(result.deleted.empty()) << what;
    EXPECT_EQ(src.lines, (TextList{u"(a)", u"(b)"})) << what;  // still what the file holds
    EXPECT_EQ(pane.all(), TextList{u"    1| (a)"}) << what;
  };

  fs::create_directory(backup);  // a folder where the backup belongs
  auto result = runLineDeletion(src, file, u"a", false, pane);
  expectNothingChanged(result, backup, "backup");
  EXPECT_NE(result.message.find(u"f.bak"), Text::npos);
  EXPECT_EQ(readBytes(file), "(a)\n(b)\n");
  EXPECT_TRUE(fs::is_directory(backup));
  fs::remove(backup);

  // The final write fails while the original is still in place: it stays intact.
  auto failTarget = [&](const fs::path& p, std::string_view b, FileError& e) {
    if (p == file) {
      e.reason = "disk full";
      return false;
    }
    return writeFileAtomically(p, b, e);
  };
  result = runLineDeletion(src, file, u"a", false, pane, failTarget);
  expectNothingChanged(result, file, "file");
  EXPECT_NE(result.message.find(u"disk full"), Text::npos);
  EXPECT_EQ(readBytes(file), "(a)\n(b)\n");
  EXPECT_EQ(readBytes(backup), "(a)\n(b)\n");

  // A folder where the file was: the real write fails and the folder is left alone.
  fs::remove(file);
  fs::create_directory(file);
  expectNothingChanged(runLineDeletion(src, file, u"a", false, pane), file, "folder");
  EXPECT_TRUE(fs::is_directory(file));
  EXPECT_EQ(folderEntries(dir.path), (std::vector<std::string>{"f.bak", "f.lsp"}));
}

TEST(AtomicWrite, ReplacesAnExistingFileAndLeavesNoTemporary) {
  TempDir dir;
  const fs::path file = dir.path / "t.lsp";
  FileError error;
  ASSERT_TRUE(writeFileAtomically(file, "first", error)) << error.reason;
  ASSERT_TRUE(writeFileAtomically(file, "second, longer", error)) << error.reason;
  EXPECT_EQ(readBytes(file), "second, longer");
  ASSERT_TRUE(writeFileAtomically(file, "", error)) << error.reason;
  EXPECT_EQ(readBytes(file), "");
  EXPECT_EQ(folderEntries(dir.path), std::vector<std::string>{"t.lsp"});
#ifndef _WIN32
  fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write);
  ASSERT_TRUE(writeFileAtomically(file, "private", error)) << error.reason;
  EXPECT_EQ(fs::status(file).permissions() & fs::perms::all, fs::perms::owner_read | fs::perms::owner_write);
#endif
}

// A read-only file, a folder in the target's place and a missing folder are refused
// with a reason, and leave the folder as it was.
TEST(AtomicWrite, RefusedTargetsAreKept) {
  TempDir dir;
  const fs::path readOnly = dir.path / "r.lsp", folder = dir.path / "d.lsp";
  writeBytes(readOnly, "old");
  fs::permissions(readOnly, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  fs::create_directory(folder);
  for (const fs::path& target : {readOnly, folder, dir.path / "missing" / "t.lsp"}) {
    FileError error;
    EXPECT_FALSE(writeFileAtomically(target, "new", error)) << target;
    EXPECT_FALSE(error.reason.empty()) << target;
    EXPECT_EQ(folderEntries(dir.path), (std::vector<std::string>{"d.lsp", "r.lsp"})) << target;
  }
  fs::permissions(readOnly, fs::perms::owner_write, fs::perm_options::add);
  EXPECT_EQ(readBytes(readOnly), "old");
  EXPECT_TRUE(fs::is_directory(folder));
}

#ifndef _WIN32
// A write cut off part-way (here by the file size limit) leaves the old content.
TEST(AtomicWrite, WriteCutOffHalfwayKeepsTheOldFile) {
  TempDir dir;
  const fs::path file = dir.path / "t.lsp";
  writeBytes(file, "old content");
  rlimit saved{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit small = saved;
  small.rlim_cur = 4096;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  FileError error;
  const bool ok = writeFileAtomically(file, std::string(100000, 'x'), error);
  setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, oldHandler);
  EXPECT_FALSE(ok);
  EXPECT_FALSE(error.reason.empty());
  EXPECT_EQ(readBytes(file), "old content");
  EXPECT_EQ(folderEntries(dir.path), std::vector<std::string>{"t.lsp"});
}
#endif

TEST(CliSearch, ListsAndDeletes) {
  TempDir dir;
  const fs::path file = dir.path / "s.lsp";
  writeBytes(file, "(defun c:a ()\n  (setq x 1)\n  (setq -y 2)\n  (princ))\n");
  auto r = runCli({"search", "setq", file.string()});
  EXPECT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.out, "    2| (setq x 1)\n    3| (setq -y 2)\n");
  EXPECT_EQ(runCli({"search", "--ordered", "x setq", file.string()}).out, "");
  EXPECT_EQ(runCli({"search", "--", "-y", file.string()}).out, "    3| (setq -y 2)\n");

  auto d = runCli({"search", "--delete", "setq", file.string()});
  EXPECT_EQ(d.code, 0) << d.err;
  EXPECT_EQ(d.out, "    2| (setq x 1)\n    3| (setq -y 2)\n");
  // The file keeps its LF; the backup is the file as it was.
  EXPECT_EQ(readBytes(file), "\xEF\xBB\xBF(defun c:a ()\n  (princ))\n");
  EXPECT_EQ(readBytes(dir.path / "s.bak"), "(defun c:a ()\n  (setq x 1)\n  (setq -y 2)\n  (princ))\n");

  // Nothing found: nothing written, not even the backup.
  fs::remove(dir.path / "s.bak");
  auto none = runCli({"search", "--delete", "zzz", file.string()});
  EXPECT_EQ(none.code, 0);
  EXPECT_EQ(none.out, "");
  EXPECT_FALSE(fs::exists(dir.path / "s.bak"));

  fs::create_directory(dir.path / "s.bak");
  auto fail = runCli({"search", "--delete", "princ", file.string()});
  EXPECT_EQ(fail.code, 1);
  EXPECT_NE(fail.err.find("s.bak"), std::string::npos) << fail.err;
  EXPECT_EQ(readBytes(file), "\xEF\xBB\xBF(defun c:a ()\n  (princ))\n");

  // Bytes that do not survive the encoding are never written back.
  fs::remove_all(dir.path / "s.bak");
  writeBytes(file, "(setq a 1) ; \x81\x7F\n");
  auto lossy = runCli({"search", "--delete", "setq", file.string()});
  EXPECT_EQ(lossy.code, 1);
  EXPECT_NE(lossy.err.find("not written"), std::string::npos) << lossy.err;
  EXPECT_EQ(readBytes(file), "(setq a 1) ; \x81\x7F\n");
  EXPECT_FALSE(fs::exists(dir.path / "s.bak"));
}
