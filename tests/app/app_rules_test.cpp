#include <gtest/gtest.h>

#include "TestSupport.h"
#include "app/LoadRules.h"

using namespace quenlit;
using namespace quenlit::test;

// Which file a drop takes is checked through the window in app_mainform_test.
TEST(DropRule, LspExtensionInAnyCase) {
  const std::pair<const char16_t*, bool> cases[] = {
      {u"C:\\x\\a.lsp", true}, {u"C:\\x\\b.LSP", true}, {u"x.Lsp", true},      {u"C:\\x.lsp\\noext", false},
      {u"a.lsp.txt", false},   {u"a.lspx", false},      {u"lsp", false},
  };
  for (auto [path, lsp] : cases) EXPECT_EQ(hasLspExtension(path), lsp) << toUtf8(path);
}

// A reload puts the selection and the top row back on the rows of the same
// names, found by walking down the new outline.
TEST(OutlineMemory, RestoresSelectionAndTopRowByName) {
  auto rows = [](std::initializer_list<std::pair<int, const char16_t*>> items) {
    std::vector<OutlineRow> r;
    for (auto& [level, text] : items) r.push_back(OutlineRow{level, text, level ? 1 : 0, level});
    return r;
  };
  const auto before = rows({{0, u"Command"}, {1, u"c:box"}, {2, u"inner"}, {2, u"other"}, {1, u"c:run"},
                            {0, u"Function"}, {1, u"area (w h)"}, {2, u"inner"}, {1, u"zeta ()"}});
  const auto after = rows({{0, u"Command"}, {1, u"c:box"}, {2, u"other"}, {1, u"c:new"}, {0, u"Function"},
                           {1, u"area (w h)"}, {2, u"inner"}, {1, u"zeta ()"}});
  using Row = std::optional<size_t>;
  const struct {
    Row selected, top;  // in `before`
    Row select, newTop;  // in `after`
  } cases[] = {
      {7, 7, 6, 6},  // inner under area, not the inner that was under c:box
      {3, 2, 2, {}},  // other under c:box; the top row, inner under c:box, is gone
      {8, 3, 7, 2},  // top row a nested row above the selection
      {1, 6, 1, {}},  // the walk ends at the selection, before the top row is met
      {8, 5, 7, 4},  // a root as top row
      {4, 1, {}, {}},  // the selected function was renamed: the top row stays too
      {{}, 6, {}, {}},  // nothing selected: the top row is not restored either
      {0, 5, {}, {}},  // a selected root is not remembered
  };
  for (const auto& c : cases) {
    const OutlineRestore r = restoreOutline(after, rememberOutline(before, c.selected, c.top));
    EXPECT_EQ(r.select, c.select) << c.selected.value_or(99) << "," << c.top.value_or(99);
    EXPECT_EQ(r.top, c.newTop) << c.selected.value_or(99) << "," << c.top.value_or(99);
  }
}
