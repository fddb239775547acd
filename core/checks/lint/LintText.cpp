#include "checks/lint/LintText.h"

namespace quenlit::lint {

namespace {

Text u(std::string_view utf8) { return fromUtf8Lenient(utf8); }
Text q(TextView name) { return u"'" + Text(name) + u"'"; }
Text n(long long v) { return toText(v); }
bool ja(LintLang lang) { return lang == LintLang::kJapanese; }

}  // namespace

Text syntaxMessage(LintRule rule, LintLang lang) {
  switch (rule) {
    case LintRule::kSyntaxUnbalanced:
      return ja(lang) ? u("この ( が閉じられないままファイルが終わります") : u("this ( is never closed: the file ends inside it");
    case LintRule::kSyntaxExtraParen:
      return ja(lang) ? u("この ) に対応する ( がありません") : u("this ) closes no list");
    case LintRule::kSyntaxUnterminatedString:
      return ja(lang) ? u("この \" で始まる文字列が閉じられないままファイルが終わります")
                      : u("the string that starts here is never closed: it runs to the end of the file");
    default:
      return ja(lang) ? u("この ;| で始まるブロックコメントが閉じられないままファイルが終わります")
                      : u("the block comment that starts here is never closed by |;");
  }
}

Text variableMessage(LintRule rule, bool argument, TextView name, TextView function, LintLang lang) {
  const Text fn(function);
  if (ja(lang)) {
    const Text kind = argument ? u("引数 ") : u("ローカル変数 ");
    switch (rule) {
      case LintRule::kVarUnusedLocal:
      case LintRule::kVarUnusedArg: return fn + u(" の") + kind + q(name) + u(" は使われていません");
      case LintRule::kVarDuplicateLocal: return fn + u(" の") + kind + q(name) + u(" が重複して宣言されています");
      default: return q(name) + u(" は ") + fn + u(" の引数でもありローカル変数でもあります");
    }
  }
  const Text kind = argument ? u("argument ") : u("local ");
  switch (rule) {
    case LintRule::kVarUnusedLocal:
    case LintRule::kVarUnusedArg: return kind + q(name) + u" of " + fn + u" is never used";
    case LintRule::kVarDuplicateLocal: return kind + q(name) + u" of " + fn + u" is declared again";
    default: return q(name) + u" is both an argument and a local of " + fn;
  }
}

Text lambdaLabel(TextView function, LintLang lang) {
  if (ja(lang)) return function.empty() ? u("lambda") : Text(function) + u(" 内の lambda");
  return function.empty() ? Text(u"a lambda") : u"a lambda in " + Text(function);
}

Text undeclaredMessage(TextView name, TextView function, LintLang lang) {
  if (ja(lang)) return q(name) + u(" は ") + Text(function) + u(" で値を設定されていますが、引数にもローカル変数にも宣言されていません");
  return q(name) + u" is set in " + Text(function) + u" but declared neither as an argument nor as a local";
}

Text callerLocalMessage(TextView name, TextView function, TextView caller, LintLang lang) {
  if (ja(lang))
    return q(name) + u(" は ") + Text(function) + u(" で値を設定されています (呼び出し元 ") + Text(caller) +
           u(" のローカル変数)");
  return q(name) + u" is set in " + Text(function) + u", a variable of its caller " + Text(caller);
}

Text arityMessage(TextView name, int given, int expected, LintLang lang) {
  if (ja(lang))
    return q(name) + u(" の呼び出しの引数は ") + n(given) + u(" 個ですが、定義の引数は ") + n(expected) + u(" 個です");
  return q(name) + u" is called with " + n(given) + (given == 1 ? u" argument" : u" arguments") + u" but takes " +
         n(expected);
}

Text builtinArityMessage(TextView name, int given, int min, int max, LintLang lang) {
  Text allowed;
  if (max < 0) allowed = (ja(lang) ? u("") : u"at least ") + n(min) + (ja(lang) ? u(" 個以上") : u"");
  else if (min == max) allowed = n(min) + (ja(lang) ? u(" 個") : u"");
  else allowed = n(min) + (ja(lang) ? u(" から ") : u" to ") + n(max) + (ja(lang) ? u(" 個") : u"");
  if (ja(lang))
    return u("組み込み関数 ") + q(name) + u(" の引数は ") + allowed + u("ですが、") + n(given) + u(" 個で呼ばれています");
  return u"built-in " + q(name) + u" takes " + allowed + (max == 1 && min == 1 ? u" argument" : u" arguments") +
         u" but is called with " + n(given);
}

Text undefinedMessage(TextView name, LintLang lang) {
  if (ja(lang)) return q(name) + u(" は呼ばれていますが、定義も組み込み関数もありません");
  return q(name) + u" is called but is neither defined nor a built-in";
}

Text duplicateMessage(TextView name, TextView where, LintLang lang) {
  if (ja(lang)) return u("関数 ") + q(name) + u(" が再定義されています (最初は ") + Text(where) + u(")");
  return u"function " + q(name) + u" is defined again (first at " + Text(where) + u")";
}

Text unreferencedMessage(TextView name, LintLang lang) {
  if (ja(lang)) return u("関数 ") + q(name) + u(" はどこからも呼ばれず参照もされていません");
  return u"function " + q(name) + u" is never called nor referenced";
}

Text relatedFunction(TextView function, LintLang lang) {
  if (ja(lang)) return u("関数 ") + Text(function);
  return u"in " + Text(function);
}

Text relatedCaller(TextView caller, TextView name, LintLang lang) {
  if (ja(lang)) return Text(caller) + u(" が ") + q(name) + u(" を宣言しています");
  return Text(caller) + u" declares " + q(name);
}

Text relatedDefinition(TextView function, LintLang lang) {
  if (ja(lang)) return Text(function) + u(" の定義");
  return u"the definition of " + Text(function);
}

}  // namespace quenlit::lint
