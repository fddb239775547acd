// The wording of the scoped findings, in English and Japanese.
#pragma once

#include <string_view>

#include "checks/lint/Lint.h"

namespace quenlit::lint {

Text syntaxMessage(LintRule rule, LintLang lang);
// A parameter rule (unused, duplicate, argument and local) of `name` in `function`.
Text variableMessage(LintRule rule, bool argument, TextView name, TextView function, LintLang lang);
// "a lambda in f", or "a lambda" outside every defun.
Text lambdaLabel(TextView function, LintLang lang);
Text undeclaredMessage(TextView name, TextView function, LintLang lang);
Text callerLocalMessage(TextView name, TextView function, TextView caller, LintLang lang);
Text arityMessage(TextView name, int given, int expected, LintLang lang);
Text builtinArityMessage(TextView name, int given, int min, int max, LintLang lang);
Text undefinedMessage(TextView name, LintLang lang);
// `where`: "line 4" or "a.lsp:4".
Text duplicateMessage(TextView name, TextView where, LintLang lang);
Text unreferencedMessage(TextView name, LintLang lang);

// Texts of related places.
Text relatedFunction(TextView function, LintLang lang);     // "in this function"
Text relatedCaller(TextView caller, TextView name, LintLang lang);
Text relatedDefinition(TextView function, LintLang lang);  // "defined here"

}  // namespace quenlit::lint
