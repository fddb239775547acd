// `quenlit check --textual`: findings agree with the pane reports, exit codes, the walk of
// folders, --jobs, --across-files, --lang, and the gcc format read by a problem
// matcher. The formats themselves are compared with golden files by ctest
// (check_golden_*), natively and under Wine, and the SARIF output is validated
// against its schema (check_sarif_schema).
#include <gtest/gtest.h>

#include <map>
#include <regex>

#include "TestSupport.h"
#include "checks/BuiltinList.h"
#include "checks/ExclusionList.h"
#include "checks/FileCheck.h"
#include "checks/FunctionCheck.h"
#include "checks/VariableCheck.h"
#include "pane/ResultPane.h"
#include "source/SourceFile.h"

#ifndef _WIN32
#include <sys/stat.h>
#endif

using namespace quenlit;
using namespace quenlit::test;
namespace fs = std::filesystem;

namespace {

// As the check prints paths: UTF-8, "/" between names.
std::string u8(const fs::path& p) {
  const std::u8string s = p.generic_u8string();
  return std::string(s.begin(), s.end());
}

std::vector<std::string> outputLines(const std::string& out) {
  std::vector<std::string> result;
  size_t start = 0;
  for (size_t nl = out.find('\n'); nl != std::string::npos; start = nl + 1, nl = out.find('\n', start))
    result.push_back(out.substr(start, nl - start));
  return result;
}

// The rule ids of a gcc-format output, in order.
std::vector<std::string> rulesOf(const std::string& out) {
  std::vector<std::string> rules;
  for (const auto& line : outputLines(out)) rules.push_back(line.substr(line.rfind('[')));
  return rules;
}

}  // namespace

// Over the real files, every finding of the check is a finding of the pane reports
// and the other way round: the same number per kind.
TEST(Check, FindingsAgreeWithThePaneReports) {
  QUENLIT_CORPUS_FILES(files);
  const TextList jogai = mergeJogaiLines(builtinJogaiWords(), {});
  const BuiltinList builtins = readBuiltinList(projectRoot() / "data" / kBuiltinListFileName, 932).list;
  size_t compared = 0;
  for (const auto& f : files) {
    SourceLines src;
    ASSERT_TRUE(loadLspFile(f, src).ok) << f;
    FileCheck check = checkSource(src.lines, {jogai, builtins, Lang::kEnglish});
    finishAlone(check, Lang::kEnglish);
    std::map<Rule, size_t> found;
    for (const Finding& finding : check.findings) {
      ++found[finding.rule];
      ASSERT_GE(finding.line, 1) << f;
      ASSERT_LE(size_t(finding.line), src.lines.size()) << f;
    }

    // Words under each label of the variable pane.
    MemoryPane vars;
    NullProgress bar;
    notUusedVariable(src.lines, jogai, vars, bar, false);
    std::map<Rule, size_t> pane;
    Rule current = Rule::kVarGlobal;
    for (const Text& line : vars.all()) {
      if (line.find(u"|[グローバル(") != Text::npos) current = Rule::kVarGlobalOutside;
      else if (line.find(u"| ") != Text::npos && !startsWith(line, u"     ")) continue;  // a definition's header
      else if (line == u"     [グローバル]") current = Rule::kVarGlobal;
      else if (line == u"     [サブ関数内でグローバル]") current = Rule::kVarGlobalInSub;
      else if (line == u"     [引数重複]") current = Rule::kVarArgAndLocal;
      else if (line == u"     [重複]") current = Rule::kVarDuplicateLocal;
      else if (line == u"     [未使用]") current = current == Rule::kVarUnusedArg ? Rule::kVarUnusedLocal : Rule::kVarUnusedArg;
      else if (current != Rule::kVarDuplicateLocal) pane[current] += splitCommaText(line).size();
      else ++pane[current];  // one finding per repeated name, however often it repeats
    }
    // "[未使用]" stands for arguments and locals alike: compare their sum.
    EXPECT_EQ(found[Rule::kVarUnusedArg] + found[Rule::kVarUnusedLocal], pane[Rule::kVarUnusedArg] + pane[Rule::kVarUnusedLocal]) << f;
    for (Rule r : {Rule::kVarGlobal, Rule::kVarGlobalInSub, Rule::kVarGlobalOutside, Rule::kVarArgAndLocal})
      EXPECT_EQ(found[r], pane[r]) << f << " " << ruleInfo(r).id;
    EXPECT_LE(found[Rule::kVarDuplicateLocal], pane[Rule::kVarDuplicateLocal]) << f;

    // The function pane: undefined names, then the unreferenced ones.
    MemoryPane funcs;
    runFunctionCheck(src.lines, builtins, funcs, bar);
    std::map<Text, size_t> sections;
    Text section;
    for (const Text& line : funcs.all()) {
      if (startsWith(line, u"■")) section = line;
      else ++sections[section];
    }
    EXPECT_EQ(found[Rule::kFuncUndefined], sections[u"■定義されていないユーザー関数"]) << f;
    EXPECT_EQ(found[Rule::kFuncUnreferenced], sections[u"■参照されていないユーザー関数"]) << f;
    compared += check.findings.size();
  }
  EXPECT_GT(compared, 1000u);
}

TEST(Check, ExitCodesAndUsage) {
  TempDir dir;
  writeBytes(dir.path / "clean.lsp", "(defun f (a) a)\n(f 1)\n");
  writeBytes(dir.path / "found.lsp", "(defun g (/ b) 1)\n(g)\n");
  const std::string clean = u8(dir.path / "clean.lsp"), found = u8(dir.path / "found.lsp");
  const struct {
    std::vector<std::string> args;
    int code;
  } cases[] = {
      {{"check", clean}, 0},
      {{"check", "--format", "gcc", clean, found}, 1},
      {{"check", clean, u8(dir.path / "missing.lsp")}, 2},
      {{"check", found, u8(dir.path / "missing.lsp")}, 2},
      {{"check"}, 2},
      {{"check", "--format", "xml", clean}, 2},
      {{"check", "--jobs", "0", clean}, 2},
      {{"check", "--jobs", "x", clean}, 2},
      {{"check", "--lang", "fr", clean}, 2},
      {{"check", "--jobs", "1", "--jobs", "2", clean}, 2},
      {{"check", "--builtins", u8(dir.path / "none.txt"), clean}, 2},
  };
  for (const auto& c : cases) {
    auto r = runCli(c.args);
    EXPECT_EQ(r.code, c.code) << c.args.back() << " " << c.args.size() << ": " << r.err;
  }
  // An unreadable file is named on stderr; the others are still checked and reported.
  auto r = runCli({"check", "--format", "gcc", u8(dir.path / "missing.lsp"), found});
  EXPECT_NE(r.err.find("cannot read " + u8(dir.path / "missing.lsp")), std::string::npos) << r.err;
  EXPECT_NE(r.out.find("local 'b' of g is never used [var-unused-local]"), std::string::npos) << r.out;
  EXPECT_NE(runCli({"--help"}).out.find("check [--format"), std::string::npos);
}

// The regular expression of VS Code's $gcc problem matcher reads every line, and
// the order of the lines does not depend on --jobs.
TEST(Check, GccOutputDrivesTheProblemMatcherWhateverTheJobs) {
  TempDir dir;
  writeBytes(dir.path / "with blank.lsp", "(defun f (/ x) 1)\n(f)\n");
  fs::create_directory(dir.path / fs::u8path("日本"));
  writeBytes(dir.path / fs::u8path("日本") / fs::u8path("関数.LSP"), "(defun g ()\n  (hh 1))\n(setq z 2)\n");
  std::vector<std::string> args = {"check", "--textual", "--format", "gcc", "--jobs", "1", u8(dir.path)};
  for (const auto& f : corpusFiles()) args.push_back(u8(f));
  auto one = runCli(args);
  args[5] = "3";
  auto three = runCli(args);
  ASSERT_EQ(one.code, 1) << one.err;
  EXPECT_EQ(three.out, one.out);

  const std::regex gcc(R"(^(.*?):(\d+):(\d*):?\s+(?:fatal\s+)?(warning|error):\s+(.*)$)");
  const std::regex rule(R"( \[[a-z]+(-[a-z]+)+\]$)");
  size_t lines = 0;
  for (const auto& line : outputLines(one.out)) {
    std::smatch m;
    ASSERT_TRUE(std::regex_match(line, m, gcc)) << line;
    EXPECT_TRUE(fs::exists(fs::u8path(m[1].str()))) << m[1];
    EXPECT_GE(std::stoi(m[2].str()), 1);
    EXPECT_TRUE(std::regex_search(m[5].str(), rule)) << line;
    ++lines;
  }
  EXPECT_NE(one.out.find(u8(dir.path / "with blank.lsp") + ":1:1: warning: local 'x' of f is never used"),
            std::string::npos);
  EXPECT_NE(one.out.find(u8(dir.path) + "/日本/関数.LSP:2:3: warning: 'hh' is called on 1 line"), std::string::npos)
      << one.out.substr(0, 2000);
  EXPECT_GT(lines, 100u);
}

TEST(Check, AcrossFilesAndJapanese) {
  TempDir dir;
  writeBytes(dir.path / "lib.lsp", "(defun lib-fn (a) a)\n");
  writeBytes(dir.path / "main.lsp", "(defun c:main ()\n  (lib-fn 1))\n");
  const std::string folder = u8(dir.path);
  auto alone = runCli({"check", "--textual", "--format", "gcc", folder});
  EXPECT_EQ(rulesOf(alone.out), (std::vector<std::string>{"[func-unreferenced]", "[func-undefined]"})) << alone.out;
  auto together = runCli({"check", "--textual", "--format", "gcc", "--across-files", folder});
  EXPECT_EQ(together.code, 0) << together.out;
  EXPECT_EQ(together.out, "");

  auto ja = runCli({"check", "--textual", "--format", "gcc", "--lang", "ja", folder});
  EXPECT_NE(ja.out.find("warning: 参照されていないユーザー関数 lib-fn [func-unreferenced]"), std::string::npos) << ja.out;
  EXPECT_NE(ja.out.find("warning: 定義されていないユーザー関数 lib-fn [1] [func-undefined]"), std::string::npos) << ja.out;
  writeBytes(dir.path / "vars.lsp", "(defun c:v (/ n)\n  (setq g 1))\n");
  auto jaVars = runCli({"check", "--textual", "--format", "gcc", "--lang", "ja", u8(dir.path / "vars.lsp")});
  EXPECT_EQ(jaVars.out, u8(dir.path / "vars.lsp") + ":1:1: warning: [グローバル] g (c:v) [var-global]\n" +
                            u8(dir.path / "vars.lsp") + ":1:1: warning: [未使用] n (c:v) [var-unused-local]\n");
}

// Folders walk in the list collation, any letter case of ".lsp" counts, a file
// reached twice is checked once, and bad entries are reported without stopping.
TEST(Check, WalkOfFolders) {
  TempDir dir;
  const fs::path& d = dir.path;
  fs::create_directories(d / "sub");
  for (const char* name : {"b.LSP", "A.lsp", "sub/c.Lsp", "notes.txt", "sub/d.lsp.bak"})
    writeBytes(d / name, "(setq q 1)\n");
  std::string junk(1 << 16, '\0');
  for (size_t i = 0; i < junk.size(); ++i) junk[i] = char((i * 2654435761u) >> 13);
  writeBytes(d / "sub" / "binary.lsp", junk);
  auto r = runCli({"check", "--textual", "--format", "gcc", u8(d), u8(d / "b.LSP")});
  std::vector<std::string> files;
  for (const auto& line : outputLines(r.out)) {
    const std::string file = line.substr(0, line.find(".lsp:") != std::string::npos ? line.find(".lsp:") + 4 : line.find(":"));
    if (files.empty() || files.back() != file) files.push_back(file);
  }
  EXPECT_EQ(r.code, 1) << r.err;
  ASSERT_GE(files.size(), 3u) << r.out;
  EXPECT_EQ(files[0], u8(d) + "/A.lsp");
  EXPECT_NE(r.out.find(u8(d) + "/b.LSP:1:"), std::string::npos);
  EXPECT_EQ(r.out.find(u8(d) + "/b.LSP:1:", r.out.find(u8(d) + "/b.LSP:1:") + 1), std::string::npos) << "b.LSP twice";
  EXPECT_NE(r.out.find(u8(d) + "/sub/c.Lsp:1:"), std::string::npos);
  EXPECT_EQ(r.out.find("notes.txt"), std::string::npos);
  EXPECT_EQ(r.out.find("d.lsp.bak"), std::string::npos);

#ifndef _WIN32
  // A link back up the tree, a dangling link and a pipe named *.lsp (whose read
  // would never end) are reported; everything else is still checked.
  fs::create_directory_symlink("..", d / "sub" / "loop");
  fs::create_symlink(d / "gone", d / "dangling.lsp");
  ASSERT_EQ(mkfifo((d / "pipe.lsp").c_str(), 0600), 0);
  writeBytes(d / "a:b?.lsp", "(setq w 1)\n");
  auto bad = runCli({"check", "--textual", "--format", "gcc", u8(d)});
  EXPECT_EQ(bad.code, 2);
  EXPECT_NE(bad.err.find("symbolic link loop"), std::string::npos) << bad.err;
  EXPECT_NE(bad.err.find("cannot read " + u8(d) + "/dangling.lsp"), std::string::npos) << bad.err;
  EXPECT_NE(bad.err.find("cannot read " + u8(d) + "/pipe.lsp: not a regular file"), std::string::npos) << bad.err;
  EXPECT_NE(bad.out.find(u8(d) + "/a:b?.lsp:1: warning: 'w'"), std::string::npos) << bad.out;
  EXPECT_NE(bad.out.find(u8(d) + "/sub/c.Lsp:1:"), std::string::npos);

  // Ten thousand empty files: no finding, no hang.
  TempDir many;
  for (int i = 0; i < 10000; ++i) writeBytes(many.path / ("e" + std::to_string(i) + ".lsp"), "");
  auto empty = runCli({"check", u8(many.path)});
  EXPECT_EQ(empty.code, 0) << empty.err;
  EXPECT_EQ(empty.out, "0 findings in 0 files, 10000 files checked\n");
#endif
}

// The scoped rules by default: --globals silences intentional globals, notes alone
// exit 0, --across-files judges calls over the files, --lang ja words it in Japanese.
TEST(Check, ScopedRulesGlobalsAcrossFilesAndJapanese) {
  TempDir dir;
  writeBytes(dir.path / "lib.lsp", "(defun lib-fn (a) (setq *app-last* a))\n");
  writeBytes(dir.path / "main.lsp", "(defun c:main ()\n  (setq total 1)\n  (lib-fn 1 2))\n");
  const std::string lib = u8(dir.path / "lib.lsp"), main = u8(dir.path / "main.lsp");
  auto alone = runCli({"check", "--format", "gcc", lib, main});
  EXPECT_EQ(alone.code, 1);
  EXPECT_EQ(alone.out, lib + ":1:8: note: function 'lib-fn' is never called nor referenced [func-unreferenced]\n" + lib +
                           ":1:25: warning: '*app-last*' is set in lib-fn but declared neither as an argument nor as a "
                           "local [var-undeclared]\n" +
                           main + ":2:9: warning: 'total' is set in c:main but declared neither as an argument nor as a "
                           "local [var-undeclared]\n" +
                           main + ":3:4: warning: 'lib-fn' is called but is neither defined nor a built-in [func-undefined]\n");
  auto globals = runCli({"check", "--format", "gcc", "--globals", "*app-*, total", lib});
  EXPECT_EQ(globals.code, 0) << globals.out;  // one note left
  EXPECT_EQ(globals.out, lib + ":1:8: note: function 'lib-fn' is never called nor referenced [func-unreferenced]\n");
  auto together = runCli({"check", "--format", "gcc", "--across-files", "--globals", "*app-*,total", "--lang", "ja", lib, main});
  EXPECT_EQ(together.out, main + ":3:4: error: 'lib-fn' の呼び出しの引数は 2 個ですが、定義の引数は 1 個です [func-arity]\n");
  auto textual = runCli({"check", "--textual", "--format", "gcc", main});
  EXPECT_NE(textual.out.find("[var-global]"), std::string::npos) << textual.out;
}
