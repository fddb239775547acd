#include "Cli.h"

#include <map>

#include "Commands.h"
#include "QuenlitVersion.h"
#include "text/Encoding.h"

namespace quenlit::cli {

namespace {

const char* kUsageText =
    "usage: quenlit COMMAND [OPTIONS] FILE...\n"
    "\n"
    "commands:\n"
    "  outline [--ansi CP] FILE   the defun outline: Command and Function rows\n"
    "  describe [--ansi CP] FILE LINE\n"
    "                             the description of the outline row on LINE (comment, signature)\n"
    "  catalog [--ansi CP] FILE   the function catalog\n"
    "  search [--ordered] [--delete] [--ansi CP] TEXT FILE\n"
    "                             source lines holding every term of TEXT (as typed in the search\n"
    "                             box); --ordered: terms in that order; --delete: remove them from\n"
    "                             FILE after a .bak copy, without asking, and print what went;\n"
    "                             exit 1 when FILE or the copy cannot be written\n"
    "  copy [--name] [--ansi CP] FILE LINE\n"
    "                             the clipboard text for the row on LINE: the whole definition\n"
    "                             with its comment, or with --name its call form; exit 1 when\n"
    "                             the range is not found\n"
    "  vars [--exclude FILE] [--ansi CP] FILE\n"
    "                             the variable check; exclusion words from FILE instead of\n"
    "                             jogaiList.txt beside the program\n"
    "  parens [--ansi CP] FILE    parenthesis balance per defun and over the whole file\n"
    "  funcs [--builtins LIST] [--ansi CP] FILE\n"
    "                             duplicate, undefined and unreferenced functions, call counts;\n"
    "                             LIST defaults to AutoLispFuncList.txt beside quenlit\n"
    "  check [--format text|gcc|json|sarif] [--exclude FILE] [--builtins LIST] [--ansi CP]\n"
    "        [--jobs N] [--across-files] [--lang en|ja] PATH...\n"
    "                             every check over files and folders (*.lsp below them), one\n"
    "                             finding a line with a rule id; --across-files: functions of\n"
    "                             every file count for all; exit 1 when anything was found\n"
    "  lsp                        the language server on stdin and stdout (JSON-RPC, LSP 3.17):\n"
    "                             the check's findings as you type, outline, definitions,\n"
    "                             references, hover and quick fixes for the workspace's *.lsp\n"
    "\n"
    "options:\n"
    "  --ansi CP    code page for files that are not UTF-8 (default: the system's, 932 elsewhere)\n"
    "  --help       this text\n"
    "  --version    the version\n"
    "\n"
    "Output is UTF-8 with LF line ends. Exit 0 on success (check: nothing found, 1: findings),\n"
    "2 on unreadable input or bad usage.\n";

const std::map<std::string, Command>& commands() {
  static const std::map<std::string, Command> table = {
      {"outline", cmdOutline},
      {"describe", cmdDescribe},
      {"catalog", cmdCatalog},
      {"search", cmdSearch},
      {"copy", cmdCopy},
      {"vars", cmdVars},
      {"parens", cmdParens},
      {"funcs", cmdFuncs},
      {"check", cmdCheck},
      {"lsp", cmdLsp},
  };
  return table;
}

}  // namespace

std::filesystem::path pathFromArg(const std::string& utf8) {
#ifdef _WIN32
  Text t = fromUtf8Lenient(utf8);
  return std::filesystem::path(std::wstring(t.begin(), t.end()));
#else
  return std::filesystem::path(utf8);
#endif
}

void printLine(std::ostream& out, TextView line) { out << toUtf8(line) << '\n'; }

void printLines(std::ostream& out, const TextList& lines) {
  for (const auto& l : lines) printLine(out, l);
}

int usageError(Context& ctx, const std::string& message) {
  ctx.err << "quenlit: " << message << "\n" << "Try 'quenlit --help'.\n";
  return kUsage;
}

bool loadSource(Context& ctx, const std::string& file, SourceLines& lines) {
  auto outcome = loadLspFile(pathFromArg(file), lines);
  if (!outcome.ok) ctx.err << "quenlit: cannot read " << file << ": " << outcome.error.reason << "\n";
  return outcome.ok;
}

int run(const std::vector<std::string>& argv, std::ostream& out, std::ostream& err,
        const std::filesystem::path& exeDir) {
  Context ctx{{}, out, err, exeDir};
  if (argv.empty()) return usageError(ctx, "no command given");
  const std::string& name = argv[0];
  if (name == "--help" || name == "-h" || name == "help") {
    out << kUsageText;
    return kOk;
  }
  if (name == "--version") {
    out << "quenlit " << QUENLIT_VERSION << "\n";
    return kOk;
  }
  auto it = commands().find(name);
  if (it == commands().end()) return usageError(ctx, "unknown command: " + name);
  ctx.args.assign(argv.begin() + 1, argv.end());
  for (const auto& a : ctx.args)
    if (a == "--help" || a == "-h") {
      out << kUsageText;
      return kOk;
    }
  setDefaultAnsiCodePage(0);
  return it->second(ctx);
}

}  // namespace quenlit::cli
