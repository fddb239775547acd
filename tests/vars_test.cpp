#include <gtest/gtest.h>

#include <map>
#include <set>

#include "TestSupport.h"
#include "pane/ResultPane.h"
#include "checks/ExclusionList.h"
#include "checks/VariableCheck.h"
#include "source/CodeLines.h"
#include "source/DefunTable.h"
#include "source/SourceFile.h"

using namespace quenlit;
using namespace quenlit::test;

namespace {

const TextList& builtin() {
  static const TextList list = mergeJogaiLines(builtinJogaiWords(), {});
  return list;
}

const TextList kNothingFound = {u"■変数チェック", u"未使用変数、未宣言変数はありません．"};

TextList check(const TextList& source, bool msgFlag = true) {
  MemoryPane pane;
  NullProgress bar;
  notUusedVariable(source, builtin(), pane, bar, msgFlag);
  return pane.all();
}

TextList loadFixture(const std::string& name) {
  SourceLines src;
  EXPECT_TRUE(loadLspFile(fixture(name), src).ok) << name;
  return src.lines;
}

// The fixture's own statement of what the check must write: its ";=> " lines.
TextList statedFindings(const TextList& source) {
  TextList expected;
  for (const auto& line : source)
    if (startsWith(line, u";=> ")) expected.push_back(line.substr(4));
  return expected;
}

}  // namespace

TEST(VariableCheck, FixturePerFindingKind) {
  for (const char* name : {"vars-globals.lsp", "vars-unused.lsp", "vars-duplicate.lsp", "vars-arglocal.lsp",
                           "vars-outside.lsp"}) {
    const TextList source = loadFixture(name);
    const TextList expected = statedFindings(source);
    ASSERT_FALSE(expected.empty()) << name;
    EXPECT_EQ(check(source), expected) << name;
  }
}

TEST(VariableCheck, SmallSources) {
  struct Case {
    const char* what;
    std::initializer_list<const char*> source;
    std::initializer_list<const char*> pane;  // empty: the two "nothing found" lines
  } cases[] = {
      {"no finding", {"(defun f (a / b) (setq b a))"}, {}},
      {"a first line that is empty is checked", {"", "(setq q 1)"}, {"    2|[グローバル(全関数の後方)]", "     q "}},
      {"no defun", {"(setq a 1)", "(princ b)"}, {"    2|[グローバル(全関数の後方)]", "     a b "}},
      {"an unclosed defun counts to the words after all",
       {"(defun f (a)", "(setq b 1)"},
       {"    2|[グローバル(全関数の後方)]", "     b f "}},
      {"seven words before the first defun",
       {"(setq a 1 b 2 c 3 d 4 e 5 f 6 g 7)", "(defun z () 0)"},
       {"    1|[グローバル(全関数定義の前方)]", "     f g", "     a b c d e "}},
      {"a lone dot before the first defun", {"(princ '(1 . 2))", "(defun z () 0)"}, {}},
      {"words between definitions are not reported", {"(defun a1 () 0)", "(setq mid 1)", "(defun a2 () 0)"}, {}},
      {"globals in lines of ten",
       {"(defun f () (list g1 g2 g3 g4 g5 g6 g7 g8 g9 g10 g11 g12))"},
       {"    1| f ()", "     [グローバル]", "     g1 g10 g11 g12 g2 g3 g4 g5 g6 g7 ", "     g8 g9 "}},
      {"a name with a blank gives a record that is skipped",
       {"(defun my func (x) x)"},
       {"    1|[グローバル(全関数の後方)]", "     func my x "}},
      {"locals (/ a a)", {"(defun f (/ a a) (setq a 1))"}, {"    1| f ( / a a )", "     [重複]", "     a "}},
      {"argument and local", {"(defun f (a / a) (setq a 1))"}, {"    1| f ( a  / a )", "     [引数重複]", "     a"}},
      {"a top-level argument pi", {"(defun f (pi) 0)"}, {"    1| f ( pi )", "     [未使用]", "     pi "}},
      {"a nested argument pi", {"(defun outer ()", "(defun f (pi) 0)", "(f 1))"}, {}},
  };
  for (const auto& c : cases) EXPECT_EQ(check(L(c.source)), c.pane.size() ? L(c.pane) : kNothingFound) << c.what;
}

// An excluded word keeps a name from being a global; a declared name the body
// uses is used, excluded or not. MYW stands in the list, as if from jogaiList.txt.
TEST(VariableCheck, ExcludedWordsNeverMakeADeclaredNameUnused) {
  const TextList jogai = mergeJogaiLines(builtinJogaiWords(), {u"myw"});
  struct Case {
    const char* what;
    std::initializer_list<const char*> source;
    std::initializer_list<const char*> pane;  // empty: the two "nothing found" lines
  } cases[] = {
      {"a local", {"(defun f (/ MyW) (setq myw 1))"}, {}},
      {"an argument", {"(defun f (myw) (princ myw))"}, {}},
      {"a local of a sub-function", {"(defun f ()", "(defun g (/ myw) (setq myw 1))", "(g))"}, {}},
      {"a local only a sub-function uses", {"(defun f (/ myw)", "(defun g () (setq myw 1))", "(g))"}, {}},
      {"pi as a local", {"(defun f (/ pi) (setq pi 3))"}, {}},
      {"used undeclared: still no global", {"(defun f (a) (setq myw a))"}, {}},
      {"declared and never used: still unused", {"(defun f (/ myw) 0)"}, {"    1| f ( / myw )", "     [未使用]", "     myw "}},
  };
  for (const auto& c : cases) {
    MemoryPane pane;
    NullProgress bar;
    notUusedVariable(L(c.source), jogai, pane, bar, true);
    EXPECT_EQ(pane.all(), c.pane.size() ? L(c.pane) : kNothingFound) << c.what;
  }
  // The command line's vars and check read the same list and agree.
  TempDir dir;
  writeBytes(dir.path / "words.txt", "myw\r\n");
  writeBytes(dir.path / "f.lsp", "(defun c:f (/ myw) (setq myw 1))\n");
  const std::string words = (dir.path / "words.txt").string(), file = (dir.path / "f.lsp").string();
  for (const char* command : {"vars", "check"}) {
    auto r = runCli({command, "--exclude", words, file});
    EXPECT_EQ(r.code, 0) << command << ": " << r.out;
    EXPECT_EQ(r.out.find("myw"), std::string::npos) << command << ": " << r.out;
  }
}

TEST(VariableCheck, NothingFoundLinesFollowMsgFlag) {
  EXPECT_EQ(check({}), kNothingFound);
  EXPECT_EQ(check({}, false), TextList{});
  EXPECT_EQ(check({u"(defun f (a) a)"}, false), TextList{});
  EXPECT_EQ(check({u""}), kNothingFound);

  // The check clears what the pane held before it writes.
  MemoryPane pane;
  pane.addLine(u"old");
  NullProgress bar;
  notUusedVariable({u"(setq zz 1)"}, builtin(), pane, bar, true);
  EXPECT_EQ(pane.all(), L({"    1|[グローバル(全関数の後方)]", "     zz "}));
}

TEST(VariableCheck, LineNumberFieldWidth) {
  struct Case {
    long long line;
    const char* header;
  } cases[] = {{9, "    9| f ( a )"}, {10, "   10| f ( a )"}, {100, "  100| f ( a )"}, {99999, "99999| f ( a )"},
               {100000, "100000| f ( a )"}};
  for (const auto& c : cases) {
    TextList source(size_t(c.line - 1), Text());
    source.push_back(u"(defun f (a) 0)");
    EXPECT_EQ(check(source), L({c.header, "     [未使用]", "     a "})) << c.line;
  }
}

TEST(VariableCheck, ProgressBarEndsAtZero) {
  struct Bar : ProgressBar {
    int pos = 0, highest = 0;
    int position() const override { return pos; }
    void setPosition(int p) override {
      pos = p;
      highest = std::max(highest, p);
    }
  } bar;
  TextList source;
  for (int i = 0; i < 500; ++i) source.push_back(u"(defun f" + toText(i) + u" (a) (setq b a))");
  MemoryPane pane;
  notUusedVariable(source, builtin(), pane, bar, true);
  EXPECT_GT(bar.highest, 0);
  EXPECT_EQ(bar.pos, 0);
  EXPECT_EQ(pane.lineCount(), 1500u);
}

// One definition of 5,000 lines using 2,000 distinct words: 1,000 declared locals
// and 1,000 globals.
TEST(VariableCheck, LargeFunctionWithManyWords) {
  Text head = u"(defun c:big (/";
  for (int i = 0; i < 1000; ++i) head += u" v" + toText(i);
  TextList source{head + u")"};
  for (int k = 0; k < 5000; ++k)
    source.push_back(u"  (setq v" + toText(k % 1000) + u" (+ g" + toText(k % 1000) + u" v" + toText((k + 1) % 1000) +
                     u"))");
  source.push_back(u")");
  const TextList pane = check(source);
  ASSERT_EQ(pane.size(), 2u + 100u);
  EXPECT_TRUE(startsWith(pane[0], u"    1| c:big ( / v0 v1 v10 v100 v101 "));
  EXPECT_EQ(pane[1], u"     [グローバル]");
  std::set<Text> globals;
  for (size_t i = 2; i < pane.size(); ++i)
    for (const auto& w : splitCommaText(pane[i])) globals.insert(w);
  EXPECT_EQ(globals.size(), 1000u);
  EXPECT_EQ(*globals.begin(), u"g0");
  EXPECT_EQ(pane[2], u"     g0 g1 g10 g100 g101 g102 g103 g104 g105 g106 ");
}

// Over the real files: no crash, every header points at a line holding a defun, and
// every word listed as a global occurs in the code lines of its definition.
TEST(VariableCheck, CorpusGlobalsOccurInTheirFunctions) {
  QUENLIT_CORPUS_FILES(files);
  size_t globalsSeen = 0;
  for (const auto& f : files) {
    SourceLines src;
    ASSERT_TRUE(loadLspFile(f, src).ok) << f;
    const TextList pane = check(src.lines);
    ASSERT_FALSE(pane.empty()) << f;
    const TextList code = makeCodeLines(src.lines);
    std::map<int, DefunRecord> defuns;  // by 1-based start line
    for (const auto& r : makeDefunList(code, false))
      if (auto d = parseDefunRecord(r)) defuns[d->startLine + 1] = *d;

    const DefunRecord* current = nullptr;
    bool inGlobals = false;
    for (const auto& line : pane) {
      const size_t bar = line.find(u'|');
      const Text number = bar == Text::npos ? Text() : trim(line.substr(0, bar));
      if (!number.empty() && fieldToInt(number, -1) > 0 && !startsWith(line, u"     ")) {
        const int n = fieldToInt(number);
        inGlobals = false;
        if (line.find(u"[グローバル(", bar) == bar + 1) continue;
        ASSERT_LE(size_t(n), code.size()) << f;
        ASSERT_NE(toUpperAscii(code[size_t(n - 1)]).find(u"(DEFUN "), Text::npos) << f << " line " << n;
        current = line.compare(bar, 4, u"|  +") == 0 ? nullptr : (defuns.count(n) ? &defuns[n] : nullptr);
        if (line.compare(bar, 4, u"|  +") != 0) {
          ASSERT_NE(current, nullptr) << f << " line " << n;
        }
        continue;
      }
      if (startsWith(line, u"     [")) {
        inGlobals = line == u"     [グローバル]";
        continue;
      }
      if (!inGlobals) continue;
      ASSERT_NE(current, nullptr) << f;
      for (const auto& word : splitCommaText(line)) {
        bool found = false;
        for (int k = current->startLine; k <= current->endLine && !found; ++k)
          found = code[size_t(k)].find(word) != Text::npos;
        EXPECT_TRUE(found) << f << ": " << U8(word) << " in the defun at line " << current->startLine + 1;
        ++globalsSeen;
      }
    }
  }
  EXPECT_GT(globalsSeen, 0u);
}

// The exclusion list reaches the command line from beside the program or by name;
// one that cannot be read is a warning beside the program and an error when named.
TEST(CliVars, ExclusionFile) {
  TempDir dir, exe, unreadable;
  writeBytes(dir.path / "words.txt", "lst\r\n");
  writeBytes(exe.path / "jogaiList.txt", "\xEF\xBB\xBFLST\n");
  std::filesystem::create_directory(unreadable.path / "jogaiList.txt");
  const std::string example = fixture("vars-example.lsp").string(), full = readBytes(fixture("vars-example.expected"));
  std::string withoutLst = full;
  const std::string cut = "     [グローバル]\n     lst \n";
  ASSERT_NE(withoutLst.find(cut), std::string::npos);
  withoutLst.erase(withoutLst.find(cut), cut.size());
  const struct {
    const char* what;
    std::vector<std::string> args;
    std::filesystem::path exeDir;
    int code;
    std::string out;
    const char* err;  // part of stderr; empty: nothing on stderr
  } cases[] = {
      {"named", {"vars", "--exclude", (dir.path / "words.txt").string(), example}, {}, 0, withoutLst, ""},
      {"beside the program", {"vars", example}, exe.path, 0, withoutLst, ""},
      {"unreadable beside the program", {"vars", example}, unreadable.path, 0, full, "jogaiList.txt"},
      {"named but missing", {"vars", "--exclude", (dir.path / "none.txt").string(), example}, {}, 2, "", "none.txt"},
      {"named folder", {"vars", "--exclude", dir.path.string(), example}, {}, 2, "", "quenlit: "},
  };
  for (const auto& c : cases) {
    auto r = runCli(c.args, c.exeDir);
    EXPECT_EQ(r.code, c.code) << c.what;
    EXPECT_EQ(r.out, c.out) << c.what;
    if (*c.err)
      EXPECT_NE(r.err.find(c.err), std::string::npos) << c.what << ": " << r.err;
    else
      EXPECT_EQ(r.err, "") << c.what;
  }
}

TEST(CliVars, ExclusionFileWithoutMarkUsesTheAnsiCodePage) {
  TempDir dir;
  writeBytes(dir.path / "src.lsp", "(setq \xE7\xB5\x90\xE6\x9E\x9C 1 other 2)\n");  // UTF-8
  writeBytes(dir.path / "ex.txt", "\x8C\x8B\x89\xCA\r\n");                          // the same word in cp932
  auto r = runCli({"vars", "--ansi", "932", "--exclude", (dir.path / "ex.txt").string(), (dir.path / "src.lsp").string()});
  EXPECT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.out, "    1|[グローバル(全関数の後方)]\n     other \n");
}
