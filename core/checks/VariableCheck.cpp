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
constexpr TextView kLabelDuplicate = u"     [重複]";
constexpr TextView kLabelGlobal = u"     [グローバル]";
constexpr TextView kLabelUnused = u"     [未使用]";
constexpr TextView kLabelArgAndLocal = u"     [引数重複]";
constexpr TextView kLabelSubGlobal = u"     [サブ関数内でグローバル]";
constexpr TextView kBeforeAllHeader = u"    1|[グローバル(全関数定義の前方)]";
constexpr TextView kAfterAllHeader = u"[グローバル(全関数の後方)]";

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

class Checker {
 public:
  Checker(const TextList& code, const TextList& jogai, ResultPane& pane) : code_(code), jogai_(jogai), pane_(pane) {}

  void run(const TextList& table) {
    std::vector<Record> records;
    records.reserve(table.size());
    for (const auto& r : table) records.push_back({splitCommaText(r)});
    subWords_.assign(records.size(), std::nullopt);
    for (size_t i = 0; i < records.size(); ++i) {
      if (records[i].isDefun()) defunBlock(records, i);
      else if (records[i].isNested()) subBlock(records[i], i);
    }
    afterAll();
  }

 private:
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
    const TextList words = getDefunWords(code_, s, c, jogai_);

    const size_t header = pane_.lineCount();
    pane_.addLine(headerLine(s, f[0], args_, locals_, false));

    const Text dup = findDuplicateWords(locals_);
    if (!isBlank(dup)) {
      pane_.addLine(kLabelDuplicate);
      pane_.addLine(Text(kIndent) + dup);
    }

    TextList globals = subtractWords(words, args_, locals_);
    // A sub-function's name is left out only when spelled as its own defun line spells it.
    if (!subNames.empty()) {
      const std::unordered_set<Text> names(subNames.begin(), subNames.end());
      std::erase_if(globals, [&](const Text& w) { return names.count(w) > 0; });
    }
    removeWord(globals, u".");
    if (!globals.empty()) {
      pane_.addLine(kLabelGlobal);
      writeWordLines(pane_, globals);
    }

    // Unused arguments of a top-level definition are not tested against the exclusion list.
    const TextList unusedArgs = subtractWords(args_, words);
    if (!unusedArgs.empty()) {
      pane_.addLine(kLabelUnused);
      writeWordLines(pane_, unusedArgs);
    }

    // Not looked up in the exclusion list either, so a local *error* whose handler is a
    // nested defun shows as unused: the excluded word never reaches the body words.
    TextList unusedLocals = subtractWords(locals_, words);
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
    if (!unusedLocals.empty()) {
      pane_.addLine(kLabelUnused);
      writeWordLines(pane_, unusedLocals);
    }

    const Text common = commonWords(args_, locals_);
    if (!common.empty()) {
      pane_.addLine(kLabelArgAndLocal);
      pane_.addLine(Text(kIndent) + common);
    }

    if (pane_.lineCount() == header + 1) pane_.removeLine(header);
  }

  const TextList& subWords(size_t index, int s, int c) {
    if (!subWords_[index]) subWords_[index] = getSubDefunWords(code_, s, c, jogai_);
    return *subWords_[index];
  }

  void subBlock(const Record& record, size_t index) {
    const TextList& f = record.fields;
    const int s = fieldToInt(f[2]), c = fieldToInt(f[3]);
    const TextList a = getDefunArgList(code_, s, c);
    const TextList l = getDefunLocals(code_, s, c);
    const TextList& w = subWords(index, s, c);

    const size_t header = pane_.lineCount();
    pane_.addLine(headerLine(s, f[1], a, l, true));

    TextList globals = subtractWords(w, a, l, locals_, args_);
    removeWord(globals, u".");
    if (!globals.empty()) {
      pane_.addLine(kLabelSubGlobal);
      writeWordLines(pane_, globals);
    }

    TextList unusedArgs = subtractWords(a, w);
    std::erase_if(unusedArgs, [&](const Text& word) { return !isVariableWord(word, jogai_); });
    if (!unusedArgs.empty()) {
      pane_.addLine(kLabelUnused);
      writeWordLines(pane_, unusedArgs);
    }

    const TextList unusedLocals = subtractWords(l, w);
    if (!unusedLocals.empty()) {
      pane_.addLine(kLabelUnused);
      writeWordLines(pane_, unusedLocals);
    }

    if (pane_.lineCount() == header + 1) pane_.removeLine(header);
  }

  void beforeAll(int firstStart) {
    TextList words = getLineWords(code_, 0, firstStart - 1, jogai_);
    removeWord(words, u".");
    if (words.empty()) return;
    writeReverseGroups(pane_, words, true);
    pane_.insertLine(0, kBeforeAllHeader);
  }

  void afterAll() {
    const long long n = (long long)code_.size();
    if (lastEnd_ >= n - 1) return;
    TextList words = getLineWords(code_, lastEnd_ + 1, int(n - 1), jogai_);
    removeWord(words, u".");
    if (words.empty()) return;
    const size_t k = pane_.lineCount();
    writeReverseGroups(pane_, words, false);
    pane_.insertLine(k, lineNumberField(n) + Text(kAfterAllHeader));
  }

  const TextList& code_;
  const TextList& jogai_;
  ResultPane& pane_;
  int lastEnd_ = -1;
  TextList args_, locals_;  // of the most recent top-level definition
  std::vector<std::optional<TextList>> subWords_;  // body words per nested record, once
};

void writeNothingFound(ResultPane& pane) {
  pane.addLine(u"■変数チェック");
  pane.addLine(u"未使用変数、未宣言変数はありません．");
}

}  // namespace

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
  Checker(code, jogaiSL, pane).run(table);
  progress.setPosition(0);
  if (pane.lineCount() == 0 && msgFlag) writeNothingFound(pane);
}

}  // namespace quenlit
