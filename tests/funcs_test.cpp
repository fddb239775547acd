#include <gtest/gtest.h>

#include <random>
#include <regex>
#include <sstream>

#include "TestSupport.h"
#include "pane/ResultPane.h"
#include "checks/BuiltinList.h"
#include "checks/CallMatcher.h"
#include "checks/FunctionCheck.h"
#include "checks/FunctionUsage.h"
#include "source/CodeLines.h"
#include "source/SourceFile.h"
#include "text/Encoding.h"

using namespace quenlit;
using namespace quenlit::test;

namespace {

const Text kUndefined = u"■定義されていないユーザー関数";
const Text kDuplicate = u"■重複して定義されているユーザー関数";
const Text kUnused = u"■参照されていないユーザー関数";
const Text kCounts = u"■ユーザー関数の出現数";

Text sp(size_t n) { return Text(n, u' '); }

// fusokuFunc on a pane that already holds one line, which it must leave alone.
TextList fusoku(std::string_view source, TextList builtins = {}) {
  MemoryPane pane;
  pane.addLine(u"earlier");
  NullProgress progress;
  fusokuFunc(splitLines(T(source)), BuiltinList(std::move(builtins)), pane, progress);
  TextList all = pane.all();
  EXPECT_EQ(all.front(), u"earlier");
  EXPECT_EQ(progress.position(), 0);
  all.erase(all.begin());
  return all;
}

TextList usage(std::string_view source) {
  MemoryPane pane;
  NullProgress progress;
  const TextList src = splitLines(T(source));
  notUsedUserFunc(src, pane, progress);
  userFuncUsedCount(src, pane, progress);
  EXPECT_EQ(progress.position(), 0);
  return pane.all();
}

// The call test as stated: "(" + NAME + " " or "(" + NAME + ")" anywhere in the upper-cased line.
int naiveCallingLines(const TextList& code, TextView name) {
  const Text n = toUpperAscii(name);
  int count = 0;
  for (const auto& line : code) {
    const Text u = toUpperAscii(line);
    if (u.find(u"(" + n + u" ") != Text::npos || u.find(u"(" + n + u")") != Text::npos) ++count;
  }
  return count;
}

}  // namespace

TEST(FunctionCheck, DuplicateAndUndefinedReports) {
  struct Case {
    const char* name;
    const char* source;
    TextList builtins;
    TextList expected;
  };
  const Case cases[] = {
      {"empty list: setq and princ are undefined", "(setq a 1)\n(princ a)\n", {},
       {kUndefined, u"princ" + sp(1) + u" [  1]", u"setq" + sp(2) + u" [  1]"}},
      {"built-ins match without regard to case", "(setq a 1)\n(princ a)\n", {u"SETQ", u"princ"}, {}},
      {"defun and lambda lines give no candidates", "(defun f () (g))\n(mapcar '(LAMBDA (x) (h x)) l)\n", {}, {}},
      {"numbers are never candidates", "(setq a '(1 2) b '(-1.5 x) c (. 2))\n", {u"setq"}, {}},
      {"quoted data is collected", "(setq l '(ab cd) m '(e f))\n", {u"setq"}, {kUndefined, u"ab" + sp(1) + u" [  1]"}},
      {"library families anywhere in the name",
       "(vl-load-com)\n(my-vl-tool 1)\n(vlax-get x)\n(Acet-ui 1)\n(dos_x 1)\n(xvla-y 1)\n(vle-z 1)\n", {}, {}},
      {"duplicates: n definitions give n-1 mentions",
       "(defun foo () 1)\n(defun FOO () 2)\n(defun foo () 3)\n(defun bar () 4)\n(defun bar () 5)\n", {},
       {kDuplicate, u"bar foo FOO"}},
      {"duplicates without undefined names", "(defun ff () 1)\n(defun ff () 2)\n(ff)\n", {}, {kDuplicate, u"ff"}},
      {"nested definitions define but are never duplicates",
       "(defun outer ()\n  (defun helper (x) x)\n  (helper 1))\n(defun outer2 ()\n  (defun helper (y) y)\n  (helper 2))\n"
       "(outer)\n(outer2)\n",
       {}, {}},
      // A command's defun marks nothing, so calling it directly reads as undefined.
      {"direct call of a command", "(defun c:foo () 1)\n(c:foo)\n", {}, {kUndefined, u"c:foo" + sp(1) + u" [  1]"}},
      {"first spelling in sorted order survives", "(Foo 1)\n(foo 2)\n(FOO 3)\n", {}, {kUndefined, u"Foo" + sp(1) + u" [  3]"}},
      {"a line counts once; (name) and (name x) both count",
       "(foo)(foo x)\n(foo\n((foo) 1)\n(foobar 1)\n", {},
       {kUndefined, u"foo" + sp(4) + u" [  2]", u"foobar" + sp(1) + u" [  1]"}},
      {"names line up two blanks after the longest", "(abc 1)\n(longname 2)\n(abc (longname 3))\n", {},
       {kUndefined, u"abc" + sp(6) + u" [  2]", u"longname" + sp(1) + u" [  2]"}},
      {"a name ends at ')' but the count test sees '(fo)'", "(fo)x 1)\n", {}, {kUndefined, u"fo" + sp(1) + u" [  1]"}},
      {"strings and comments are not code", "(princ \"(zz 1)\") ; (yy 2)\n", {u"princ"}, {}},
      {"empty source", "", {}, {}},
  };
  for (const auto& c : cases) EXPECT_EQ(fusoku(c.source, c.builtins), c.expected) << c.name;
}

TEST(FunctionUsage, UnreferencedAndCountReports) {
  struct Case {
    const char* name;
    const char* source;
    TextList expected;
  };
  const Case cases[] = {
      // W is taken before the heading goes in, so only "foo" sets the column.
      {"called only as (name)", "(defun foo () 1)\n(defun c:go () (foo))\n", {kCounts, u"foo [  1]"}},
      {"recursion counts its own calling lines",
       "(defun fact (n)\n  (if (< n 2) (fact 1)\n    (* n (fact (1- n)))))\n", {kCounts, u"fact [  2]"}},
      {"a quoted reference is not a call", "(defun dbl (x) (* x 2))\n(defun c:go () (mapcar 'dbl '(1 2)))\n",
       {kUnused, u"dbl", kCounts, u"dbl" + sp(12) + u" [  0]"}},
      {"nested defuns are listed without a count and never unreferenced",
       "(defun outer ()\n  (defun helper (x) x)\n  1)\n(defun c:go () (outer))\n",
       {kCounts, u"outer" + sp(5) + u" [  1]", u"  + helper"}},
      {"c:main and C:Main are commands, my-c:x is not",
       "(defun c:main () 1)\n(defun C:Main () 2)\n(defun my-c:x () 3)\n",
       {kUnused, u"my-c:x", kCounts, u"my-c:x" + sp(9) + u" [  0]"}},
      {"only commands, nested ones included: nothing at all",
       "(defun c:a ()\n  (defun inner () 1)\n  2)\n(defun C:B () 3)\n", {}},
      {"sorted by name, each followed by its nested defuns",
       "(defun zeta () 1)\n(defun Alpha ()\n  (defun *error* (m) m)\n  (defun beta (x) x)\n  2)\n"
       "(defun c:x () (zeta) (Alpha))\n",
       {kCounts, u"Alpha" + sp(6) + u" [  1]", u"  + *error*", u"  + beta", u"zeta" + sp(7) + u" [  1]"}},
      {"no defun", "(setq a 1)\n", {}},
      {"empty source", "", {}},
  };
  for (const auto& c : cases) EXPECT_EQ(usage(c.source), c.expected) << c.name;
}

TEST(FunctionCheck, CommandClearsThePaneAndWritesTheReportsInOrder) {
  MemoryPane pane;
  NullProgress progress;
  pane.addLine(u"from the variable check");
  runFunctionCheck(splitLines(u"(defun aa () 1)\n(defun aa () 2)\n(defun bb () (zz))\n(zz)"), BuiltinList(), pane, progress);
  EXPECT_EQ(pane.all(), (TextList{kDuplicate, u"aa", kUndefined, u"zz" + sp(1) + u" [  2]", kUnused, u"aa", u"aa", u"bb",
                                  kCounts, u"aa" + sp(16) + u" [  0]", u"aa" + sp(16) + u" [  0]", u"bb" + sp(16) + u" [  0]"}));
  EXPECT_EQ(progress.position(), 0);
  runFunctionCheck({}, BuiltinList(), pane, progress);
  EXPECT_TRUE(pane.all().empty());
}

TEST(FunctionUsage, CountColumnFollowsTheLongestLineOfTheWholePane) {
  MemoryPane pane;
  NullProgress progress;
  pane.addLine(u"a much longer line written by an earlier report");  // 47 code units
  userFuncUsedCount(lines("(defun f2 () 1)\n(f2)\n"), pane, progress);
  EXPECT_EQ(pane.all(), (TextList{u"a much longer line written by an earlier report", kCounts,
                                  u"f2" + sp(45) + u" [  1]"}));
}

// A file defining one name thousands of times has a duplicate line thousands of
// characters long; the count column stops at kMaxCountColumn instead of padding
// every count line to that length.
TEST(FunctionUsage, CountColumnsStopAtTheirLimit) {
  std::string source;
  for (int i = 0; i < 300; ++i) source += "(defun f2 () 1)\n";
  source += "(f2)\n(" + std::string(400, 'q') + " 1)\n(zz 2)\n";
  MemoryPane pane;
  NullProgress progress;
  runFunctionCheck(splitLines(T(source)), BuiltinList(), pane, progress);
  const TextList& all = pane.all();
  ASSERT_EQ(all.size(), 2u + 3u + 1u + 300u);
  EXPECT_EQ(all[0], kDuplicate);
  EXPECT_EQ(all[1].size(), 299u * 3 - 1);  // "f2 f2 ... f2"
  EXPECT_EQ(all[2], kUndefined);
  EXPECT_EQ(all[3], T(std::string(400, 'q')) + u" " + countField(1));
  EXPECT_EQ(all[4], u"zz" + sp(kMaxCountColumn - 2) + u" " + countField(1));
  EXPECT_EQ(all[5], kCounts);
  for (size_t i = 6; i < all.size(); ++i) ASSERT_EQ(all[i], u"f2" + sp(kMaxCountColumn - 2) + countField(1)) << i;
}

TEST(FunctionUsage, CommandNamesAndCountField) {
  EXPECT_TRUE(isCommandName(u"c:x"));
  EXPECT_TRUE(isCommandName(u"C:"));
  EXPECT_FALSE(isCommandName(u"my-c:x"));
  EXPECT_FALSE(isCommandName(u"c"));
  EXPECT_FALSE(isCommandName(u"cx:"));
  const std::pair<int, const char16_t*> fields[] = {
      {0, u" [  0]"}, {7, u" [  7]"}, {42, u" [ 42]"}, {999, u" [999]"}, {1000, u" [1000]"}};
  for (auto [n, text] : fields) EXPECT_EQ(countField(n), text) << n;
}

// One pass over the lines gives what testing every line against every name gives,
// names with parentheses, commas, the empty name and letter case included.
TEST(CallMatcher, AgreesWithTheSubstringTest) {
  std::mt19937 rng(20240611);
  const char16_t lineChars[] = u"()( )aAbB,x";
  const char16_t nameChars[] = u"aAb()B,";
  auto pick = [&](const char16_t* chars, size_t n) { return chars[rng() % n]; };
  for (int trial = 0; trial < 300; ++trial) {
    TextList code(1 + rng() % 30), names(rng() % 12);
    for (auto& line : code)
      for (size_t k = rng() % 24; k > 0; --k) line += pick(lineChars, 11);
    for (auto& name : names)
      for (size_t k = rng() % 5; k > 0; --k) name += pick(nameChars, 7);
    const std::vector<int> counts = CallMatcher(names).countCallingLines(code);
    ASSERT_EQ(counts.size(), names.size());
    for (size_t i = 0; i < names.size(); ++i)
      ASSERT_EQ(counts[i], naiveCallingLines(code, names[i])) << "trial " << trial << " name " << U8(names[i]);
  }
}

// Grouping before sorting keeps exactly what sorting every occurrence and dropping
// neighbours equal in ASCII case keeps, full-width letters (which the list
// comparison folds and the ASCII test does not) included.
TEST(CallCandidates, SortAndDeduplicateAsTheNeighbourRuleDoes) {
  std::mt19937 rng(7);
  const char16_t chars[] = {u'a', u'A', u'b', u'B', u'-', u'\uFF41', u'\uFF21', u'1'};
  for (int trial = 0; trial < 500; ++trial) {
    TextList names(rng() % 40);
    for (auto& name : names)
      for (size_t k = 1 + rng() % 3; k > 0; --k) name += chars[rng() % 8];
    TextList expected = names;
    sortList(expected);
    for (size_t i = expected.size(); i-- > 1;)
      if (sameWordAscii(expected[i], expected[i - 1])) expected.erase(expected.begin() + long(i));
    ASSERT_EQ(sortUniqueCandidates(std::vector<TextView>(names.begin(), names.end())), expected) << "trial " << trial;
  }
}

TEST(BuiltinList, NamesAreTheTextBeforeTheFirstTab) {
  BuiltinList list = parseBuiltinList(u"setq\tassign a value\r\n princ\nfoo bar\t\tx\n\nCAR\tfirst\telement");
  EXPECT_EQ(list.size(), 5u);
  struct Probe {
    const char16_t* name;
    bool expected;
  } probes[] = {{u"SETQ", true},   {u"princ", false}, {u" PRINC", true}, {u"foo bar", true},
                {u"car", true},    {u"assign a value", false}, {u"first", false}, {u"", true}, {u"x", false}};
  for (const auto& p : probes) EXPECT_EQ(list.contains(p.name), p.expected) << U8(p.name);
}

TEST(BuiltinList, FileDecodingAndMissingFiles) {
  TempDir dir;
  struct Case {
    const char* file;
    std::string bytes;
  } cases[] = {
      {"utf8.txt", "\xEF\xBB\xBF" "関数\tx\r\nfoo\r\n"},
      {"utf16.txt", std::string("\xFF\xFE\xA2\x95\x70\x65\x09\x00\x78\x00\x0A\x00\x66\x00\x6F\x00\x6F\x00", 18)},
      {"ansi.txt", "\x8A\xD6\x90\x94\tx\nfoo\n"},  // 関数 in code page 932
  };
  for (const auto& c : cases) {
    writeBytes(dir.path / c.file, c.bytes);
    BuiltinListFile f = readBuiltinList(dir.path / c.file, 932);
    EXPECT_TRUE(f.found) << c.file;
    EXPECT_TRUE(f.error.reason.empty()) << c.file;
    EXPECT_TRUE(f.list.contains(u"関数")) << c.file;
    EXPECT_TRUE(f.list.contains(u"FOO")) << c.file;
    EXPECT_EQ(f.list.size(), 2u) << c.file;
  }
  BuiltinListFile missing = readBuiltinList(dir.path / "none.txt", 932);
  EXPECT_FALSE(missing.found);
  EXPECT_TRUE(missing.error.reason.empty());
  EXPECT_TRUE(missing.list.empty());
  BuiltinListFile folder = readBuiltinList(dir.path, 932);
  EXPECT_TRUE(folder.found);
  EXPECT_FALSE(folder.error.reason.empty());
  EXPECT_TRUE(folder.list.empty());
}

TEST(ShippedBuiltinList, HoldsCalledFunctionsAndNoConstants) {
  BuiltinListFile shipped = loadBuiltinList(projectRoot() / "data");
  ASSERT_TRUE(shipped.found);
  ASSERT_TRUE(shipped.error.reason.empty());
  EXPECT_GT(shipped.list.size(), 500u);
  for (const char16_t* name : {u"setq", u"princ", u"command", u"vl-load-com", u"1+", u"/=", u"foreach", u"mapcar",
                               u"entget", u"ssget", u"start_dialog", u"*push-error-using-command*", u"vlax-get-acad-object"})
    EXPECT_TRUE(shipped.list.contains(name)) << U8(name);
  for (const char16_t* name : {u"nil", u"t", u"pi", u"pause", u"*error*", u":vlax-true", u"Acet:OK", u"acrx_cmd_modal", u""})
    EXPECT_FALSE(shipped.list.contains(name)) << U8(name);
}

TEST(ShippedBuiltinList, AFileCallingOnlyBuiltinsHasNothingUndefined) {
  auto shipped = runCli({"funcs", fixture("funcs-builtins-only.lsp").string()});
  EXPECT_EQ(shipped.code, 0) << shipped.err;
  EXPECT_EQ(shipped.out, "");
  // The same file against an empty list: the list is what keeps it quiet.
  TempDir dir;
  writeBytes(dir.path / "empty.txt", "");
  auto bare = runCli({"funcs", "--builtins", (dir.path / "empty.txt").string(), fixture("funcs-builtins-only.lsp").string()});
  EXPECT_EQ(bare.code, 0) << bare.err;
  EXPECT_EQ(bare.out.rfind(U8(kUndefined) + "\n", 0), 0u);
  EXPECT_NE(bare.out.find("\nsetq "), std::string::npos);
  EXPECT_NE(bare.out.find("\nprinc "), std::string::npos);
}

// The list named with --builtins, or the one beside the program: a named list that
// cannot be read stops the run, one beside the program only gives a warning.
TEST(CliFuncs, BuiltinListOption) {
  TempDir dir, bare;
  writeBytes(dir.path / "a.lsp", "(setq a 1)\n(princ a)\n");
  writeBytes(dir.path / "list.txt", "SETQ\n");
  const std::string src = (dir.path / "a.lsp").string(), none = (dir.path / "none.txt").string();
  const std::string undefined = U8(kUndefined) + "\nprinc  [  1]\n";

  auto named = runCli({"funcs", "--builtins", (dir.path / "list.txt").string(), src});
  EXPECT_EQ(named.code, 0) << named.err;
  EXPECT_EQ(named.out, undefined);
  auto missing = runCli({"funcs", "--builtins", none, src});
  EXPECT_EQ(missing.code, 2);
  EXPECT_EQ(missing.out, "");
  EXPECT_NE(missing.err.find("cannot read " + none), std::string::npos) << missing.err;
  EXPECT_EQ(runCli({"funcs", "--builtins", dir.path.string(), src}).code, 2);

  // Beside a program without a list: nothing is built in, and no complaint.
  auto without = runCli({"funcs", src}, bare.path);
  EXPECT_EQ(without.code, 0);
  EXPECT_EQ(without.out, undefined + "setq   [  1]\n");
  EXPECT_EQ(without.err, "");
  // A list beside the program that cannot be read: a warning, then the same report.
  std::filesystem::create_directory(bare.path / kBuiltinListFileName);
  auto unreadable = runCli({"funcs", src}, bare.path);
  EXPECT_EQ(unreadable.code, 0);
  EXPECT_EQ(unreadable.out, without.out);
  EXPECT_NE(unreadable.err.find("warning"), std::string::npos);
}

// Over the real files: no crash, and every count printed equals the plain
// substring test over the code lines.
TEST(CliFuncs, CorpusCountsMatchTheSubstringTest) {
  QUENLIT_CORPUS_FILES(files);
  const std::regex counted("^(\\S+) +\\[ *(\\d+)\\]$");
  size_t checked = 0;
  for (const auto& f : files) {
    auto r = runCli({"funcs", f.string()});
    ASSERT_EQ(r.code, 0) << f << r.err;
    SourceLines src;
    ASSERT_TRUE(loadLspFile(f, src).ok) << f;
    const TextList code = makeCodeLines(src.lines);
    std::istringstream out(r.out);
    std::smatch m;
    for (std::string line; std::getline(out, line);) {
      if (!std::regex_match(line, m, counted)) continue;
      EXPECT_EQ(std::stoi(m[2]), naiveCallingLines(code, T(m[1].str()))) << f << ": " << line;
      ++checked;
    }
  }
  EXPECT_GT(checked, 100u);
}
