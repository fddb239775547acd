#include <gtest/gtest.h>

#include "TestSupport.h"
#include "app/LoadRules.h"

using namespace quenlit;
using namespace quenlit::test;

TEST(DropRule, LspExtensionInAnyCaseAndNotLocked) {
  EXPECT_TRUE(hasLspExtension(u"C:\\x\\a.lsp"));
  EXPECT_TRUE(hasLspExtension(u"C:\\x\\b.LSP"));
  EXPECT_TRUE(hasLspExtension(u"x.Lsp"));
  EXPECT_FALSE(hasLspExtension(u"C:\\x.lsp\\noext"));
  EXPECT_FALSE(hasLspExtension(u"a.lsp.txt"));
  EXPECT_FALSE(hasLspExtension(u"a.lspx"));
  EXPECT_FALSE(hasLspExtension(u"lsp"));

  TextList dropped = {u"a.txt", u"b.LSP", u"c.lsp", u"d.lsp"};
  auto locked = [](TextView p) { return p == u"b.LSP"; };
  EXPECT_EQ(pickDroppedFile(dropped, locked), 2u);
  EXPECT_EQ(pickDroppedFile({u"a.txt", u"b.LSP"}, locked), std::nullopt);
  EXPECT_EQ(pickDroppedFile({}, locked), std::nullopt);
}

namespace {

std::vector<OutlineRow> rows(std::initializer_list<std::pair<int, const char16_t*>> items) {
  std::vector<OutlineRow> r;
  for (auto& [level, text] : items) r.push_back(OutlineRow{level, text, level ? 1 : 0, level});
  return r;
}

const auto kBefore = rows({{0, u"Command"}, {1, u"c:box"}, {2, u"inner"}, {2, u"other"}, {1, u"c:run"},
                           {0, u"Function"}, {1, u"area (w h)"}, {2, u"inner"}, {1, u"zeta ()"}});

}  // namespace

TEST(OutlineMemory, RemembersTextsByLevel) {
  OutlineMemory m = rememberOutline(kBefore, 3, 2);
  EXPECT_EQ(m.selectedParent, Text(u"c:box"));
  EXPECT_EQ(m.selectedChild, Text(u"other"));
  EXPECT_EQ(m.topLevel1, Text(u"c:box"));
  EXPECT_EQ(m.topLevel2, Text(u"inner"));
  EXPECT_FALSE(m.topRoot);

  m = rememberOutline(kBefore, 0, 5);  // a selected root remembers nothing
  EXPECT_FALSE(m.selectedParent);
  EXPECT_EQ(m.topRoot, Text(u"Function"));

  m = rememberOutline(kBefore, std::nullopt, std::nullopt);
  EXPECT_FALSE(m.selectedParent || m.topRoot || m.topLevel1);
}

TEST(OutlineMemory, RestoresSelectionAndTopRow) {
  // The same nested name under another parent is not taken.
  auto after = rows({{0, u"Command"}, {1, u"c:box"}, {2, u"other"}, {1, u"c:new"}, {0, u"Function"},
                     {1, u"area (w h)"}, {2, u"inner"}, {1, u"zeta ()"}});
  OutlineRestore r = restoreOutline(after, rememberOutline(kBefore, 7, 7));  // inner under area
  EXPECT_EQ(r.select, 6u);
  EXPECT_EQ(r.top, 6u);

  // Top row a nested row above, selection further down: both come back.
  r = restoreOutline(after, rememberOutline(kBefore, 8, 3));
  EXPECT_EQ(r.top, 2u);
  EXPECT_EQ(r.select, 7u);

  // The selection above the top row ends the walk before the top row is met.
  r = restoreOutline(after, rememberOutline(kBefore, 1, 6));
  EXPECT_EQ(r.select, 1u);
  EXPECT_FALSE(r.top);

  // A root as top row.
  r = restoreOutline(after, rememberOutline(kBefore, 8, 5));
  EXPECT_EQ(r.top, 4u);
  EXPECT_EQ(r.select, 7u);

  // The selected function was renamed: nothing is selected and the top row stays.
  r = restoreOutline(after, rememberOutline(kBefore, 4, 1));
  EXPECT_FALSE(r.select);
  EXPECT_FALSE(r.top);

  // Nothing selected: the top row is not restored either.
  r = restoreOutline(after, rememberOutline(kBefore, std::nullopt, 6));
  EXPECT_FALSE(r.select || r.top);
}
