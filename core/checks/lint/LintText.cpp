#include "checks/lint/LintText.h"

#include <initializer_list>

namespace quenlit::lint {

namespace {

// One allocation a message: a file can hold tens of thousands of findings.
Text cat(std::initializer_list<TextView> parts) {
  size_t n = 0;
  for (TextView p : parts) n += p.size();
  Text out;
  out.reserve(n);
  for (TextView p : parts) out += p;
  return out;
}

bool ja(LintLang lang) { return lang == LintLang::kJapanese; }

}  // namespace

Text syntaxMessage(LintRule rule, LintLang lang) {
  switch (rule) {
    case LintRule::kSyntaxUnbalanced:
      return ja(lang) ? u"この ( が閉じられないままファイルが終わります" : u"this ( is never closed: the file ends inside it";
    case LintRule::kSyntaxExtraParen: return ja(lang) ? u"この ) に対応する ( がありません" : u"this ) closes no list";
    case LintRule::kSyntaxUnterminatedString:
      return ja(lang) ? u"この \" で始まる文字列が閉じられないままファイルが終わります"
                      : u"the string that starts here is never closed: it runs to the end of the file";
    default:
      return ja(lang) ? u"この ;| で始まるブロックコメントが閉じられないままファイルが終わります"
                      : u"the block comment that starts here is never closed by |;";
  }
}

Text variableMessage(LintRule rule, bool argument, TextView name, TextView function, LintLang lang) {
  if (ja(lang)) {
    const TextView kind = argument ? u"の引数 '" : u"のローカル変数 '";
    switch (rule) {
      case LintRule::kVarUnusedLocal:
      case LintRule::kVarUnusedArg: return cat({function, u" ", kind, name, u"' は使われていません"});
      case LintRule::kVarDuplicateLocal: return cat({function, u" ", kind, name, u"' が重複して宣言されています"});
      default: return cat({u"'", name, u"' は ", function, u" の引数でもありローカル変数でもあります"});
    }
  }
  const TextView kind = argument ? u"argument '" : u"local '";
  switch (rule) {
    case LintRule::kVarUnusedLocal:
    case LintRule::kVarUnusedArg: return cat({kind, name, u"' of ", function, u" is never used"});
    case LintRule::kVarDuplicateLocal: return cat({kind, name, u"' of ", function, u" is declared again"});
    default: return cat({u"'", name, u"' is both an argument and a local of ", function});
  }
}

Text lambdaLabel(TextView function, LintLang lang) {
  if (ja(lang)) return function.empty() ? Text(u"lambda") : cat({function, u" 内の lambda"});
  return function.empty() ? Text(u"a lambda") : cat({u"a lambda in ", function});
}

Text undeclaredMessage(TextView name, TextView function, LintLang lang) {
  if (ja(lang))
    return cat({u"'", name, u"' は ", function, u" で値を設定されていますが、引数にもローカル変数にも宣言されていません"});
  return cat({u"'", name, u"' is set in ", function, u" but declared neither as an argument nor as a local"});
}

Text callerLocalMessage(TextView name, TextView function, TextView caller, LintLang lang) {
  if (ja(lang))
    return cat({u"'", name, u"' は ", function, u" で値を設定されています (呼び出し元 ", caller, u" のローカル変数)"});
  return cat({u"'", name, u"' is set in ", function, u", a variable of its caller ", caller});
}

Text arityMessage(TextView name, int given, int expected, LintLang lang) {
  const Text g = toText(given), e = toText(expected);
  if (ja(lang)) return cat({u"'", name, u"' の呼び出しの引数は ", g, u" 個ですが、定義の引数は ", e, u" 個です"});
  return cat({u"'", name, u"' is called with ", g, given == 1 ? u" argument" : u" arguments", u" but takes ", e});
}

Text builtinArityMessage(TextView name, int given, int min, int max, LintLang lang) {
  const Text g = toText(given), lo = toText(min), hi = toText(max);
  if (ja(lang)) {
    const Text allowed = max < 0 ? cat({lo, u" 個以上"}) : min == max ? cat({lo, u" 個"}) : cat({lo, u" から ", hi, u" 個"});
    return cat({u"組み込み関数 '", name, u"' の引数は ", allowed, u"ですが、", g, u" 個で呼ばれています"});
  }
  const Text allowed = max < 0 ? cat({u"at least ", lo}) : min == max ? lo : cat({lo, u" to ", hi});
  return cat({u"built-in '", name, u"' takes ", allowed, max == 1 && min == 1 ? u" argument" : u" arguments",
              u" but is called with ", g});
}

Text undefinedMessage(TextView name, LintLang lang) {
  if (ja(lang)) return cat({u"'", name, u"' は呼ばれていますが、定義も組み込み関数もありません"});
  return cat({u"'", name, u"' is called but is neither defined nor a built-in"});
}

Text duplicateMessage(TextView name, TextView where, LintLang lang) {
  if (ja(lang)) return cat({u"関数 '", name, u"' が再定義されています (最初は ", where, u")"});
  return cat({u"function '", name, u"' is defined again (first at ", where, u")"});
}

Text unreferencedMessage(TextView name, LintLang lang) {
  if (ja(lang)) return cat({u"関数 '", name, u"' はどこからも呼ばれず参照もされていません"});
  return cat({u"function '", name, u"' is never called nor referenced"});
}

Text relatedFunction(TextView function, LintLang lang) {
  return ja(lang) ? cat({u"関数 ", function}) : cat({u"in ", function});
}

Text relatedCaller(TextView caller, TextView name, LintLang lang) {
  if (ja(lang)) return cat({caller, u" が '", name, u"' を宣言しています"});
  return cat({caller, u" declares '", name, u"'"});
}

Text relatedDefinition(TextView function, LintLang lang) {
  return ja(lang) ? cat({function, u" の定義"}) : cat({u"the definition of ", function});
}

}  // namespace quenlit::lint
