// The scoped rules of `quenlit check` (and of the language server): findings as
// data, each with its rule, the exact range of the token it names, the symbol and
// related places. A file is read once into facts; the function rules are then
// judged per file or over all files together.
#pragma once

#include <span>
#include <string>
#include <vector>

#include "checks/BuiltinList.h"
#include "syntax/Syntax.h"
#include "text/Text.h"

namespace quenlit::lint {

using syntax::Range;

enum class LintRule {
  kVarUndeclared,
  kVarCallerLocal,
  kVarUnusedLocal,
  kVarUnusedArg,
  kVarDuplicateLocal,
  kVarArgAndLocal,
  kFuncArity,
  kFuncArityBuiltin,
  kFuncUndefined,
  kFuncDuplicate,
  kFuncUnreferenced,
  kSyntaxUnbalanced,
  kSyntaxExtraParen,
  kSyntaxUnterminatedString,
  kSyntaxUnterminatedComment,
};

enum class LintSeverity { kNote, kWarning, kError };

struct LintRuleInfo {
  LintRule rule;
  const char* id;  // "var-undeclared"
  LintSeverity severity;
  const char* description;  // English, one sentence
};

std::span<const LintRuleInfo> lintRules();  // in the order of LintRule
const LintRuleInfo& lintRuleInfo(LintRule rule);
const char* lintSeverityName(LintSeverity s);  // "note", "warning", "error"

enum class LintLang { kEnglish, kJapanese };

struct Related {
  std::string file;  // the FileLint::name of another file; empty: the same file
  Range range;
  Text message;
};

struct LintFinding {
  LintRule rule = LintRule::kVarUndeclared;
  Range range;
  Text symbol;   // the name as written at the range; empty for syntax findings
  Text message;
  std::vector<Related> related;
};

// Names the user declares global on purpose: exact names, or patterns where `*`
// stands for any run of characters (`\*` for a star itself). Letter case as symbols.
class GlobalNames {
 public:
  GlobalNames() = default;
  explicit GlobalNames(const TextList& entries);
  bool matches(TextView name) const;
  bool empty() const { return exact_.empty() && patterns_.empty(); }

 private:
  TextList exact_;  // upper-cased
  std::vector<std::vector<Text>> patterns_;  // upper-cased pieces between the stars
};

struct LintOptions {
  const TextList& exclusions;   // sorted, as loadJogaiList gives it
  const BuiltinList& builtins;  // names counted as built-in besides the signature table
  const GlobalNames& globals;
  LintLang lang = LintLang::kEnglish;
};

// Names packed in one buffer: a file holds thousands of short ones.
class NameTable {
 public:
  void add(TextView name) {
    starts_.push_back(uint32_t(chars_.size()));
    chars_ += name;
  }
  TextView operator[](size_t k) const {
    const size_t end = k + 1 < starts_.size() ? starts_[k + 1] : chars_.size();
    return TextView(chars_).substr(starts_[k], end - starts_[k]);
  }
  size_t size() const { return starts_.size(); }
  void reserve(size_t names, size_t chars) {
    starts_.reserve(names);
    chars_.reserve(chars);
  }

 private:
  Text chars_;
  std::vector<uint32_t> starts_;
};

// What one file says about functions and variables, kept for the rules that look
// at several files. Plain data: no views into the source.
struct FileLint {
  std::string name;                    // set by the caller: how other files' findings name it
  std::vector<LintFinding> findings;   // sorted by range and rule once finished

  NameTable folded;     // folded id -> the name upper-cased
  NameTable spellings;  // spelling id -> the name as written
  std::vector<uint32_t> foldedSpelling;  // folded id -> its first spelling (kNone: none)

  struct Function {     // a defun, or a lambda outside every defun
    uint32_t name = syntax::kNone;  // folded id; kNone for a lambda
    uint32_t spelling = syntax::kNone;  // the name as its defun writes it
    uint32_t top = 0;               // the outermost function it stands in (itself at top level)
    Range nameRange;
    std::vector<uint32_t> declared;  // arguments and locals, folded ids, sorted
  };
  std::vector<Function> functions;

  struct Definition {
    uint32_t name;      // folded id
    uint32_t spelling;  // spelling id
    Range range;        // of the name
    int arguments;
    bool topLevel;
    uint32_t function;  // the function it defines
  };
  std::vector<Definition> definitions;

  struct Call {
    uint32_t head;      // folded id
    uint32_t spelling;  // spelling id
    Range range;        // of the head
    int arguments;
    uint32_t function;  // index into functions, kNone outside every function
  };
  std::vector<Call> calls;
  struct Reference {  // 'f, (quote f), (function f), a reactor's callback
    uint32_t name;      // folded id
    uint32_t function;  // where it stands; kNone outside every function
  };
  std::vector<Reference> references;

  struct Write {  // a candidate for var-undeclared or var-caller-local
    uint32_t name;  // folded id
    uint32_t spelling;
    Range range;
    uint32_t function;
  };
  std::vector<Write> undeclared;

  // The parameter rules' findings, worded once the tree is gone (it holds the most memory).
  struct ParamFinding {
    LintRule rule;
    Range range;
    uint32_t spelling;
    uint32_t function;
    bool argument, lambda;
  };
  std::vector<ParamFinding> params;
};

// Reads the tree and adds the findings that need this file only (syntax, the
// variable rules of each scope); the rest waits for lintFinish.
FileLint lintTree(const syntax::Tree& tree, const LintOptions& options);
FileLint lintLines(std::span<const Text> lines, const LintOptions& options);

// The function rules and var-undeclared/var-caller-local, judged over `files`
// together (one file: alone), the parameter findings worded, then the findings
// sorted. Once per lintTree.
void lintFinish(std::span<FileLint> files, const LintOptions& options);

// The built-in signature table shipped with the program.
struct Signature {
  const char16_t* name;
  int minArgs;
  int maxArgs;  // -1: no limit
};
const Signature* findSignature(TextView name);  // letter case ignored; null when unknown
size_t signatureCount();

}  // namespace quenlit::lint
