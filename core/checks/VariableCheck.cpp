#include "checks/VariableCheck.h"

#include <algorithm>
#include <optional>
#include <unordered_set>

#include "checks/Words.h"
#include "source/CodeLines.h"
#include "source/DefunTable.h"

namespace quenlit {

namespace {

constexpr TextView kIndent = u"     ";

void removeWord(TextList& words, TextView word) {
  words.erase(std::remove(words.begin(), words.end(), word), words.end());
}

// Word lines of ten words, each followed by a blank.
void writeWordLines(ResultPane& pane, const TextList& words) {
  for (size_t i = 0; i < words.size(); i += 10) {
    Text line(kIndent);
    for (size_t k = i; k < std::min(words.size(), i + 10); ++k) {
      line += words[k];
      line += u' ';
    }
    pane.addLine(line);
  }
}

// Five words a line, the group holding the last words first. `trimLast` drops the
// blank after the very last word (the before-all section does, the after-all not).
void writeReverseGroups(ResultPane& pane, const TextList& words, bool trimLast) {
  if (words.empty()) return;
  const size_t groups = (words.size() + 4) / 5;
  for (size_t g = groups; g-- > 0;) {
    Text line(kIndent);
    for (size_t k = g * 5; k < std::min(words.size(), g * 5 + 5); ++k) {
      line += words[k];
      if (!(trimLast && k + 1 == words.size())) line += u' ';
    }
    pane.addLine(line);
  }
}

Text headerLine(int startLine, TextView name, const TextList& args, const TextList& locals, bool nested) {
  Text line = lineNumberField((long long)startLine + 1);
  line += nested ? u"  + " : u" ";
  line += name;
  line += u" (";
  if (!args.empty()) {
    line += u' ';
    for (const auto& a : args) line += a + u" ";
  }
  if (locals.empty()) {
    line += u")";
  } else {
    line += u" / ";
    for (const auto& l : locals) line += l + u" ";
    line += u")";
  }
  return line;
}

struct Record {
  TextList fields;
  bool isDefun() const { return fields.size() == 6; }
  bool isNested() const { return fields.size() == 4; }
};

// For body words: numbers still drop out, no name does.
const TextList kNoExclusions;

class Checker {
 public:
  Checker(const TextList& code, const TextList& jogai) : code_(code), jogai_(jogai) {}

  std::vector<VarBlock> run(const TextList& table) {
    std::vector<Record> records;
    records.reserve(table.size());
    for (const auto& r : table) records.push_back({splitCommaText(r)});
    subWords_.assign(records.size(), std::nullopt);
    for (size_t i = 0; i < records.size(); ++i) {
      if (records[i].isDefun()) defunBlock(records, i);
      else if (records[i].isNested()) subBlock(records[i], i);
    }
    afterAll();
    return std::move(blocks_);
  }

 private:
  static void addSection(VarBlock& block, VarFinding kind, TextList words) {
    if (!words.empty()) block.sections.push_back({kind, std::move(words)});
  }

  TextList variablesOnly(TextList words) const {
    std::erase_if(words, [&](const Text& w) { return !isVariableWord(w, jogai_); });
    return words;
  }

  void keep(VarBlock&& block) {
    if (!block.sections.empty()) blocks_.push_back(std::move(block));
  }

  void defunBlock(const std::vector<Record>& records, size_t index) {
    const TextList& f = records[index].fields;
    const int s = fieldToInt(f[2]), c = fieldToInt(f[3]), e = fieldToInt(f[4]);
    if (lastEnd_ == -1) beforeAll(s);
    lastEnd_ = e;

    TextList subNames;
    std::vector<size_t> children;
    for (size_t k = index + 1; k < records.size() && records[k].isNested(); ++k) {
      subNames.push_back(records[k].fields[1]);
      if (records[k].fields[0] == f[0]) children.push_back(k);
    }

    args_ = getDefunArgList(code_, s, c);
    locals_ = getDefunLocals(code_, s, c);
    // Every body word is a use of a declared name, excluded or not: the exclusion
    // list only keeps a name from being reported as a global.
    const TextList words = getDefunWords(code_, s, c, kNoExclusions);

    VarBlock block{VarBlock::kDefun, s, c, f[0], Text(), args_, locals_, {}};

    const Text dup = findDuplicateWords(locals_);
    if (!isBlank(dup)) addSection(block, VarFinding::kDuplicateLocal, splitCommaText(dup));

    TextList globals = variablesOnly(subtractWords(words, args_, locals_));
    // A sub-function's name is left out only when spelled as its own defun line spells it.
    if (!subNames.empty()) {
      const std::unordered_set<Text> names(subNames.begin(), subNames.end());
      std::erase_if(globals, [&](const Text& w) { return names.count(w) > 0; });
    }
    removeWord(globals, u".");
    addSection(block, VarFinding::kGlobal, std::move(globals));

    // Unused arguments of a top-level definition are not tested against the exclusion list.
    addSection(block, VarFinding::kUnusedArg, subtractWords(args_, words));

    // Not looked up in the exclusion list either. A local that names a definition
    // nested right in this one is used: (defun c:demo (/ helper) (defun helper ...)
    // (helper 3)) keeps the helper out of the global namespace, and the nested text
    // is blanked out of the body words, so the body alone never shows the use.
    TextList unusedLocals = subtractWords(locals_, words, subNames);
    // A local that only a sub-function uses, without declaring it, is used.
    for (size_t k = 0; k < children.size() && !unusedLocals.empty(); ++k) {
      const TextList& sub = records[children[k]].fields;
      const int ss = fieldToInt(sub[2]), sc = fieldToInt(sub[3]);
      // The sub-function's free words (getSubFreeWords), its body words kept for its own block.
      const TextList& w = subWords(children[k], ss, sc);
      if (w.empty()) continue;
      unusedLocals = subtractWords(unusedLocals,
                                   subtractWords(w, getDefunArgList(code_, ss, sc), getDefunLocals(code_, ss, sc)));
    }
    addSection(block, VarFinding::kUnusedLocal, std::move(unusedLocals));

    const Text common = commonWords(args_, locals_);
    if (!common.empty()) addSection(block, VarFinding::kArgAndLocal, splitCommaText(common));
    keep(std::move(block));
  }

  const TextList& subWords(size_t index, int s, int c) {
    if (!subWords_[index]) subWords_[index] = getSubDefunWords(code_, s, c, kNoExclusions);
    return *subWords_[index];
  }

  void subBlock(const Record& record, size_t index) {
    const TextList& f = record.fields;
    const int s = fieldToInt(f[2]), c = fieldToInt(f[3]);
    VarBlock block{VarBlock::kNested, s, c, f[1], f[0], getDefunArgList(code_, s, c), getDefunLocals(code_, s, c), {}};
    const TextList& a = block.args;
    const TextList& l = block.locals;
    const TextList& w = subWords(index, s, c);

    TextList globals = variablesOnly(subtractWords(w, a, l, locals_, args_));
    removeWord(globals, u".");
    addSection(block, VarFinding::kGlobalInSub, std::move(globals));

    TextList unusedArgs = subtractWords(a, w);
    std::erase_if(unusedArgs, [&](const Text& word) { return !isVariableWord(word, jogai_); });
    addSection(block, VarFinding::kUnusedArg, std::move(unusedArgs));
    addSection(block, VarFinding::kUnusedLocal, subtractWords(l, w));
    keep(std::move(block));
  }

  void beforeAll(int firstStart) {
    TextList words = getLineWords(code_, 0, firstStart - 1, jogai_);
    removeWord(words, u".");
    VarBlock block{VarBlock::kBeforeAll, 0, 0, Text(), Text(), {}, {}, {}};
    addSection(block, VarFinding::kGlobalBeforeAll, std::move(words));
    keep(std::move(block));
  }

  void afterAll() {
    const long long n = (long long)code_.size();
    if (lastEnd_ >= n - 1) return;
    TextList words = getLineWords(code_, lastEnd_ + 1, int(n - 1), jogai_);
    removeWord(words, u".");
    VarBlock block{VarBlock::kAfterAll, int(n - 1), 0, Text(), Text(), {}, {}, {}};
    addSection(block, VarFinding::kGlobalAfterAll, std::move(words));
    keep(std::move(block));
  }

  const TextList& code_;
  const TextList& jogai_;
  std::vector<VarBlock> blocks_;
  int lastEnd_ = -1;
  TextList args_, locals_;  // of the most recent top-level definition
  std::vector<std::optional<TextList>> subWords_;  // body words per nested record, once
};

void writeNothingFound(ResultPane& pane) {
  pane.addLine(u"■変数チェック");
  pane.addLine(u"未使用変数、未宣言変数はありません．");
}

}  // namespace

TextView varFindingLabel(VarFinding kind) {
  switch (kind) {
    case VarFinding::kDuplicateLocal: return u"[重複]";
    case VarFinding::kGlobal: return u"[グローバル]";
    case VarFinding::kUnusedArg:
    case VarFinding::kUnusedLocal: return u"[未使用]";
    case VarFinding::kArgAndLocal: return u"[引数重複]";
    case VarFinding::kGlobalInSub: return u"[サブ関数内でグローバル]";
    case VarFinding::kGlobalBeforeAll: return u"[グローバル(全関数定義の前方)]";
    case VarFinding::kGlobalAfterAll: return u"[グローバル(全関数の後方)]";
  }
  return {};
}

std::vector<VarBlock> checkVariables(const TextList& codeLines, const TextList& table, const TextList& jogaiSL) {
  return Checker(codeLines, jogaiSL).run(table);
}

void writeVariableBlocks(const std::vector<VarBlock>& blocks, ResultPane& pane) {
  for (const VarBlock& block : blocks) {
    if (block.kind == VarBlock::kBeforeAll || block.kind == VarBlock::kAfterAll) {
      const bool before = block.kind == VarBlock::kBeforeAll;
      pane.addLine((before ? Text(u"    1|") : lineNumberField(block.startLine + 1LL)) +
                   Text(varFindingLabel(block.sections.front().kind)));
      writeReverseGroups(pane, block.sections.front().words, before);
      continue;
    }
    pane.addLine(headerLine(block.startLine, block.name, block.args, block.locals, block.kind == VarBlock::kNested));
    for (const VarSection& section : block.sections) {
      pane.addLine(Text(kIndent) + Text(varFindingLabel(section.kind)));
      if (section.kind == VarFinding::kDuplicateLocal) {
        Text line(kIndent);
        for (const auto& w : section.words) line += w + u" ";
        pane.addLine(line);
      } else if (section.kind == VarFinding::kArgAndLocal) {
        Text line(kIndent);
        for (size_t k = 0; k < section.words.size(); ++k) line += (k ? u" " : u"") + section.words[k];
        pane.addLine(line);
      } else {
        writeWordLines(pane, section.words);
      }
    }
  }
}

void notUusedVariable(const TextList& lspSL, const TextList& jogaiSL, ResultPane& pane, ProgressBar& progress,
                      bool msgFlag) {
  // A source whose first line is empty is checked like any other.
  if (lspSL.empty()) {
    if (msgFlag) writeNothingFound(pane);
    return;
  }
  pane.clear();
  TextList code, table;
  makeCodeLines(lspSL, code, progress, 80);
  makeDefunList(code, table, 20, progress, false);
  writeVariableBlocks(checkVariables(code, table, jogaiSL), pane);
  progress.setPosition(0);
  if (pane.lineCount() == 0 && msgFlag) writeNothingFound(pane);
}

}  // namespace quenlit
