// The reader and every scoped rule on any bytes: ranges stay inside the text, the
// tree covers every token in order, and nothing crashes or recurses.
#include <cstdint>
#include <cstdlib>

#include "checks/ExclusionList.h"
#include "checks/lint/Lint.h"
#include "syntax/Syntax.h"
#include "text/Encoding.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace quenlit;
  const TextList src = splitLines(decodeAuto(std::string_view(reinterpret_cast<const char*>(data), size), 932).text);
  const syntax::Tree tree = syntax::read(src);
  // Tokens come in source order and lie inside their lines.
  for (size_t i = 0; i < tree.tokens.size(); ++i) {
    const syntax::Token& t = tree.tokens[i];
    if (t.line >= src.size() || t.endLine() >= src.size() || t.endColumn > src[t.endLine()].size()) std::abort();
    if (t.endLine() == t.line && t.endColumn <= t.column) std::abort();
    if (i > 0) {
      const syntax::Token& p = tree.tokens[i - 1];
      if (p.endLine() > t.line || (p.endLine() == t.line && p.endColumn > t.column)) std::abort();
    }
  }
  static const TextList jogai = mergeJogaiLines(builtinJogaiWords(), {});
  static const BuiltinList builtins;
  static const lint::GlobalNames globals(TextList{u"*g-*", u"known"});
  const lint::LintOptions opts{jogai, builtins, globals};
  lint::FileLint f = lint::lintTree(tree, opts);
  lint::lintFinish(std::span(&f, 1), opts);
  for (const auto& x : f.findings) {
    if (x.range.line < 1 || size_t(x.range.endLine) > src.size()) std::abort();
    const Text& line = src[size_t(x.range.line) - 1];
    if (x.range.column < 1 || size_t(x.range.column) > line.size()) std::abort();
    // A finding that names a symbol covers exactly that symbol's text.
    if (!x.symbol.empty() && line.compare(size_t(x.range.column) - 1, x.symbol.size(), x.symbol) != 0) std::abort();
  }
  return 0;
}
