// The target CAD dialog's list: the file's line rules and encodings, and what
// showing the dialog, its buttons and Enter do to the list, the selection, the
// two edit boxes and the file.
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "bridge/TargetCadForm.h"

using namespace quenlit;
using namespace quenlit::test;

namespace {

struct FakeTargetView final : TargetCadView {
  TextList items;
  std::optional<size_t> selected;
  Text e1, e2;
  std::vector<std::string> errors;
  void showItems(const TextList& i) override { items = i; }
  std::optional<size_t> selectedIndex() const override { return selected; }
  void select(std::optional<size_t> i) override { selected = i; }
  Text edit1() const override { return e1; }
  Text edit2() const override { return e2; }
  void setEdit1(TextView t) override { e1 = Text(t); }
  void setEdit2(TextView t) override { e2 = Text(t); }
  void showFileError(TextView path, const FileError&) override { errors.push_back(U8(path)); }
};

struct Dialog {
  TempDir dir;
  std::filesystem::path file = dir.path / "TargetCAD_APIVersion.txt";
  FakeTargetView view;
  TargetCadForm form{file};
  Dialog() { form.attach(&view); }
  std::string bytes() const { return readBytes(file); }
};

}  // namespace

TEST(TargetList, LineRules) {
  struct Case {
    const char16_t* line;
    const char16_t* name;
    const char16_t* progId;
  };
  const Case cases[] = {
      {u"BricsCAD V23\tBricscadApp.AcadApplication.23", u"BricsCAD V23", u"BricscadApp.AcadApplication.23"},
      {u" a \t b ", u" a ", u" b "},  // no trimming
      {u"a\tb\tc", u"a", u"b\tc"},    // the first TAB only
      {u"NoTab.Id", u"", u"NoTab.Id"},
      {u"", u"", u""},
  };
  for (const Case& c : cases) {
    const TargetEntry e = splitTargetLine(c.line);
    EXPECT_EQ(e.name, c.name) << U8(c.line);
    EXPECT_EQ(e.progId, c.progId) << U8(c.line);
  }
}

TEST(TargetList, WrittenBackInTheEncodingItWasReadIn) {
  struct Case {
    const char* name;
    std::string before;  // nothing written: no file
    std::string after;   // once "N\tP" is added
  };
  const Case cases[] = {
      {"no file: ANSI", "", "N\tP\r\n"},
      {"ANSI (CP932), empty line kept", "\x93\xfa\tA.B\r\n\r\n", "\r\nN\tP\r\n\x93\xfa\tA.B\r\n"},
      {"UTF-8 with mark", "\xEF\xBB\xBFX\tA.B\n", "\xEF\xBB\xBFN\tP\r\nX\tA.B\r\n"},
      {"UTF-16 LE with mark", std::string("\xFF\xFEX\0\t\0A\0", 8),
       std::string("\xFF\xFEN\0\t\0P\0\r\0\n\0X\0\t\0A\0\r\0\n\0", 22)},
  };
  for (const Case& c : cases) {
    Dialog d;
    if (!c.before.empty()) writeBytes(d.file, c.before);
    d.form.FormShow(u"none");
    d.view.e1 = u"N";
    d.view.e2 = u"P";
    d.form.SpeedButton1Click();
    EXPECT_EQ(d.bytes(), c.after) << c.name;
  }
  // A name the ANSI code page cannot hold turns the file into UTF-8, not into "?".
  Dialog d;
  d.view.e1 = u"é";
  d.view.e2 = u"P";
  d.form.SpeedButton1Click();
  EXPECT_EQ(d.bytes(), "\xEF\xBB\xBF\xC3\xA9\tP\r\n");
}

TEST(TargetList, ShowSelectsTheCurrentTarget) {
  Dialog d;
  writeBytes(d.file, "Zeta\tZ.App\r\nbeta\tB.App\r\nV23\tBricscadApp.AcadApplication.23\r\nAlpha\tA.App\r\n");
  d.form.FormShow(u"BricscadApp.AcadApplication");  // a substring test: the longer identifier matches
  EXPECT_EQ(d.view.items, (TextList{u"Alpha\tA.App", u"beta\tB.App", u"V23\tBricscadApp.AcadApplication.23",
                                    u"Zeta\tZ.App"}));
  EXPECT_EQ(d.view.selected, 2u);
  EXPECT_EQ(d.view.e1, u"V23");
  EXPECT_EQ(d.view.e2, u"BricscadApp.AcadApplication.23");

  // No match: nothing selected, the edit boxes keep their text.
  d.form.FormShow(u"b.app");  // case-sensitive
  EXPECT_EQ(d.view.selected, std::nullopt);
  EXPECT_EQ(d.view.e1, u"V23");

  // The file gone: the dialog stays as it was.
  std::filesystem::remove(d.file);
  d.view.e1 = u"typed";
  d.form.FormShow(u"A.App");
  EXPECT_EQ(d.view.items.size(), 4u);
  EXPECT_EQ(d.view.e1, u"typed");
  EXPECT_TRUE(d.view.errors.empty());
}

TEST(TargetList, ButtonsChangeTheListTheSelectionAndTheFile) {
  struct Case {
    const char* name;
    std::optional<size_t> selected;
    const char16_t *e1, *e2;
    void (TargetCadForm::*action)();
    TextList items;
    std::optional<size_t> after;
    const char16_t *afterE1, *afterE2;
  };
  const TextList three = {u"A\ta", u"B\tb", u"C\tc"};
  const auto add = &TargetCadForm::SpeedButton1Click, del = &TargetCadForm::SpeedButton2Click,
             change = &TargetCadForm::SpeedButton3Click;
  const Case cases[] = {
      {"add sorts in and selects it", 0, u"b2", u"x", add, {u"A\ta", u"B\tb", u"b2\tx", u"C\tc"}, 2, u"b2", u"x"},
      {"add takes empty fields and duplicates", std::nullopt, u"A", u"a", add, {u"A\ta", u"A\ta", u"B\tb", u"C\tc"}, 0,
       u"A", u"a"},
      {"add selects the first equal ignoring case", std::nullopt, u"a", u"A", add,
       {u"A\ta", u"a\tA", u"B\tb", u"C\tc"}, 0, u"A", u"a"},
      {"delete the second of three selects the first", 1, u"B", u"b", del, {u"A\ta", u"C\tc"}, 0, u"A", u"a"},
      {"delete the first selects the next", 0, u"A", u"a", del, {u"B\tb", u"C\tc"}, 0, u"B", u"b"},
      {"delete the last selects the one before", 2, u"C", u"c", del, {u"A\ta", u"B\tb"}, 1, u"B", u"b"},
      {"delete without selection removes nothing", std::nullopt, u"x", u"y", del, three, std::nullopt, u"", u""},
      {"change replaces in place, unsorted", 0, u"Z", u"z", change, {u"Z\tz", u"B\tb", u"C\tc"}, 0, u"Z", u"z"},
      {"change without selection appends", std::nullopt, u"0", u"n", change, {u"A\ta", u"B\tb", u"C\tc", u"0\tn"},
       std::nullopt, u"0", u"n"},
  };
  for (const Case& c : cases) {
    Dialog d;
    writeBytes(d.file, "C\tc\r\nA\ta\r\nB\tb\r\n");
    d.form.FormShow(u"none");
    d.view.selected = c.selected;
    d.view.e1 = c.e1;
    d.view.e2 = c.e2;
    (d.form.*c.action)();
    EXPECT_EQ(d.view.items, c.items) << c.name;
    EXPECT_EQ(d.view.selected, c.after) << c.name;
    EXPECT_EQ(d.view.e1, c.afterE1) << c.name;
    EXPECT_EQ(d.view.e2, c.afterE2) << c.name;
    std::string expected;
    for (const Text& line : c.items) expected += U8(line) + "\r\n";
    EXPECT_EQ(d.bytes(), expected) << c.name;
  }
}

TEST(TargetList, EnterChangesTheOnlyEntryDeleteEmptiesAndOkChooses) {
  Dialog d;
  writeBytes(d.file, "Old\tO.App\r\n");
  d.form.FormShow(u"O.App");
  d.view.e1 = u"ABC";
  EXPECT_FALSE(d.form.EditKeyPress(u'a'));
  EXPECT_TRUE(d.form.EditKeyPress(u'\r'));
  EXPECT_EQ(d.view.items, TextList{u"ABC\tO.App"});
  EXPECT_EQ(d.bytes(), "ABC\tO.App\r\n");

  d.form.Button1Click();
  auto choice = d.form.takeChoice();
  ASSERT_TRUE(choice);
  EXPECT_EQ(choice->caption, u"QuenlitX [ABC]");
  EXPECT_EQ(choice->progId, u"O.App");
  EXPECT_FALSE(d.form.takeChoice());  // handed over once

  d.form.SpeedButton2Click();
  EXPECT_TRUE(d.view.items.empty());
  EXPECT_EQ(d.view.selected, std::nullopt);
  EXPECT_EQ(d.view.e1, u"");
  EXPECT_EQ(d.view.e2, u"");
  EXPECT_EQ(d.bytes(), "");
}

// The dialog is made once: the next showing starts from what the last one left,
// even with controls that were emptied meanwhile.
TEST(TargetList, ANewShowingStartsAsTheLastOneClosed) {
  Dialog d;
  writeBytes(d.file, "A\tA.App\r\nB\tB.App\r\n");
  d.form.FormShow(u"B.App");
  d.view.selected = 0;
  d.view.e1 = u"typed";
  d.view.e2 = u"X.App";
  d.form.FormClose();
  FakeTargetView fresh;
  d.form.attach(&fresh);
  EXPECT_EQ(fresh.items, (TextList{u"A\tA.App", u"B\tB.App"}));
  EXPECT_EQ(fresh.selected, 0u);
  EXPECT_EQ(fresh.e1, u"typed");
  EXPECT_EQ(fresh.e2, u"X.App");
}
