// The scoped rules, one annotated fixture per rule (tests/fixtures/lint/RULE.lsp):
// the finding a line must give is written beside it, `; expect: RULE SYMBOL[#N]`
// (`; expect-next:` for the next line), where SYMBOL#N is the N-th token of that
// text on the line and the finding's range must cover exactly it. Every finding
// of the file must be expected, so the "must not warn" blocks prove silence.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "TestSupport.h"
#include "checks/ExclusionList.h"
#include "checks/lint/Lint.h"
#include "source/SourceFile.h"

using namespace quenlit;
using namespace quenlit::test;
namespace fs = std::filesystem;

namespace {

bool atomChar(char16_t c) {
  return !(c == u' ' || c == u'\t' || c == u'(' || c == u')' || c == u'\'' || c == u'"' || c == u';');
}

// The range of the n-th whole token `what` on the line (before its expectation).
lint::Range tokenRange(const Text& line, int lineNo, const Text& what, int nth) {
  size_t at = 0;
  for (int seen = 0;; ++at) {
    at = line.find(what, at);
    if (at == Text::npos) return {};
    const bool word = atomChar(what[0]);
    const bool starts = !word || at == 0 || !atomChar(line[at - 1]);
    const bool ends = !word || at + what.size() >= line.size() || !atomChar(line[at + what.size()]);
    if (starts && ends && ++seen == nth) break;
  }
  return {lineNo, int(at) + 1, lineNo, int(at + what.size()) + 1};
}

std::string show(const std::string& rule, const lint::Range& r, const std::string& symbol) {
  return rule + " " + std::to_string(r.line) + ":" + std::to_string(r.column) + "-" + std::to_string(r.endLine) + ":" +
         std::to_string(r.endColumn) + " " + symbol;
}

TextList splitCommas(const Text& s) {
  TextList out;
  size_t from = 0;
  while (from <= s.size()) {
    const size_t comma = std::min(s.find(u',', from), s.size());
    Text item = trim(TextView(s).substr(from, comma - from));
    if (!item.empty()) out.push_back(std::move(item));
    from = comma + 1;
  }
  return out;
}

}  // namespace

TEST(Lint, AnnotatedFixturePerRule) {
  const TextList jogai = mergeJogaiLines(builtinJogaiWords(), {});
  const BuiltinList builtins;
  std::set<std::string> covered;
  size_t files = 0;
  for (const auto& entry : fs::directory_iterator(fixture("lint"))) {
    SourceLines src;
    ASSERT_TRUE(loadLspFile(entry.path(), src).ok);
    TextList globalEntries;
    std::multiset<std::string> expected;
    for (size_t i = 0; i < src.lines.size(); ++i) {
      const Text& line = src.lines[i];
      if (startsWith(line, u"; globals: ")) globalEntries = splitCommas(line.substr(11));
      size_t mark = line.find(u"; expect: ");
      int target = int(i) + 1;
      size_t skip = 10;
      if (mark == Text::npos && (mark = line.find(u"; expect-next: ")) != Text::npos) {
        target = int(i) + 2;
        skip = 15;
      }
      if (mark == Text::npos) continue;
      const Text& code = target == int(i) + 1 ? line : src.lines.at(i + 1);
      for (const Text& item : splitCommas(line.substr(mark + skip))) {
        const size_t blank = item.find(u' ');
        const Text rule = item.substr(0, blank);
        Text what = item.substr(blank + 1);
        int nth = 1;
        if (const size_t hash = what.rfind(u'#'); hash != Text::npos && hash > 0) {
          nth = std::stoi(U8(what.substr(hash + 1)));
          what.resize(hash);
        }
        const Text codePart = target == int(i) + 1 ? code.substr(0, mark) : code;
        const lint::Range r = tokenRange(codePart, target, what, nth);
        ASSERT_GT(r.column, 0) << entry.path() << ": no " << U8(what) << " on line " << target;
        const bool syntax = startsWith(rule, u"syntax-");
        expected.insert(show(U8(rule), r, syntax ? "" : U8(what)));
        covered.insert(U8(rule));
      }
    }
    const lint::GlobalNames globals(globalEntries);
    const lint::LintOptions opts{jogai, builtins, globals};
    lint::FileLint f = lint::lintLines(src.lines, opts);
    lint::lintFinish(std::span(&f, 1), opts);
    std::multiset<std::string> actual;
    for (const auto& x : f.findings) actual.insert(show(lint::lintRuleInfo(x.rule).id, x.range, U8(x.symbol)));
    EXPECT_EQ(actual, expected) << entry.path().filename();
    ++files;
  }
  // Every rule has its fixture and is expected somewhere in it.
  EXPECT_EQ(files, lint::lintRules().size());
  for (const auto& r : lint::lintRules()) EXPECT_TRUE(covered.count(r.id)) << r.id;
}

// Across files: arity, undefined, duplicates, unreferenced and caller-locals see
// every file; alone, each file sees itself only. Related places name the other file.
TEST(Lint, AcrossFilesAndRelatedPlaces) {
  const TextList jogai = mergeJogaiLines(builtinJogaiWords(), {});
  const BuiltinList builtins;
  const lint::GlobalNames globals;
  const lint::LintOptions opts{jogai, builtins, globals};
  const TextList lib = lines("(defun lib-fn (a) (setq out a))\n(defun twice () 1)");
  const TextList app = lines("(defun c:main (/ out)\n  (lib-fn 1 2)\n  (twice))\n(defun twice () 2)");
  auto judge = [&](bool together) {
    std::vector<lint::FileLint> files = {lint::lintLines(lib, opts), lint::lintLines(app, opts)};
    files[0].name = "lib.lsp";
    files[1].name = "app.lsp";
    if (together) {
      lint::lintFinish(files, opts);
    } else {
      for (auto& f : files) lint::lintFinish(std::span(&f, 1), opts);
    }
    std::vector<std::string> out;
    for (const auto& f : files)
      for (const auto& x : f.findings) {
        std::string s = f.name + ":" + std::to_string(x.range.line) + ":" + std::to_string(x.range.column) + " " +
                        lint::lintRuleInfo(x.rule).id;
        for (const auto& r : x.related) s += " -> " + (r.file.empty() ? f.name : r.file) + ":" + std::to_string(r.range.line);
        out.push_back(s);
      }
    return out;
  };
  EXPECT_EQ(judge(false), (std::vector<std::string>{
                              "lib.lsp:1:8 func-unreferenced",
                              "lib.lsp:1:25 var-undeclared -> lib.lsp:1",
                              "lib.lsp:2:8 func-unreferenced",
                              "app.lsp:1:18 var-unused-local",
                              "app.lsp:2:4 func-undefined",
                          }));
  EXPECT_EQ(judge(true), (std::vector<std::string>{
                             "lib.lsp:1:25 var-caller-local -> app.lsp:1",
                             "app.lsp:1:18 var-unused-local",
                             "app.lsp:2:4 func-arity -> lib.lsp:1",
                             "app.lsp:4:8 func-duplicate -> lib.lsp:2",
                         }));
}

// On real files every finding's range covers exactly the token its message names.
TEST(Lint, RangesOnTheCorpusCoverTheNamedToken) {
  QUENLIT_CORPUS_FILES(files);
  const TextList jogai = mergeJogaiLines(builtinJogaiWords(), {});
  const BuiltinList builtins;
  const lint::GlobalNames globals;
  const lint::LintOptions opts{jogai, builtins, globals};
  std::vector<lint::FileLint> all;
  std::vector<SourceLines> sources(files.size());
  for (size_t i = 0; i < files.size(); ++i) {
    ASSERT_TRUE(loadLspFile(files[i], sources[i]).ok) << files[i];
    all.push_back(lint::lintLines(sources[i].lines, opts));
  }
  lint::lintFinish(all, opts);
  size_t checked = 0;
  for (size_t i = 0; i < files.size(); ++i)
    for (const auto& f : all[i].findings) {
      const Text& line = sources[i].lines.at(size_t(f.range.line) - 1);
      const Text at = line.substr(size_t(f.range.column) - 1, size_t(f.range.endColumn - f.range.column));
      if (f.symbol.empty()) {
        EXPECT_TRUE(at == u"(" || at == u")" || at == u"\"" || at == u";|") << files[i] << ":" << f.range.line;
      } else {
        EXPECT_EQ(at, f.symbol) << files[i] << ":" << f.range.line;
        EXPECT_NE(f.message.find(u"'" + f.symbol + u"'"), Text::npos) << U8(f.message);
      }
      ++checked;
    }
  EXPECT_GT(checked, 1000u);
}
