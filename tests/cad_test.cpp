// The CAD bridge against a recording desktop and made-up automation objects:
// which texts go to the CAD, the activation's waits and its Esc, and where a
// failure stops the action.
#include <gtest/gtest.h>

#include "FakeAutomation.h"
#include "FakeDesktop.h"
#include "bridge/Cad.h"

using namespace quenlit;
using namespace quenlit::test;

namespace {

using Log = std::vector<std::string>;

constexpr TextView kProgId = u"Test.Cad";

struct CadDesk {
  FakeDesktop desk;
  FakeAutomation automation{desk.log};
  Cad cad{automation, desk};
  WindowId cadWindow = desk.add({.cls = u"CadMain", .title = u"CAD"});
  CadDesk() { automation.apps["Test.Cad"].hwnd = std::int64_t(cadWindow); }
  FakeCadApp& app() { return automation.apps["Test.Cad"]; }
};

// The activation of a CAD whose window (id 1) comes to the front: asked to, given
// time to, compared with a fresh HWND, then one Esc.
const Log kActivation = {"active Test.Cad", "get HWND",          "get HWND",        "foreground 1", "sleep 100",
                         "get HWND",        "down Esc (scan 0)", "up Esc (scan 0)", "sleep 5"};

Log then(Log a, const Log& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

}  // namespace

TEST(Cad, TextsForLoadAndCommands) {
  struct Case {
    const char16_t* in;
    std::optional<Text> out;
  };
  EXPECT_EQ(loadText(u"C:\\work\\my file.lsp"), u"(load \"C:\\\\work\\\\my file.lsp\")(princ)\r");
  EXPECT_EQ(loadText(u"\\\\server\\共有\\a.lsp"), u"(load \"\\\\\\\\server\\\\共有\\\\a.lsp\")(princ)\r");
  const Case cases[] = {
      {u"C:Test", u"Test\r"},       {u"c:test", u"test\r"},   {u"c: drawbox  ", u"drawbox\r"},
      {u"area (w h)", std::nullopt}, {u"", std::nullopt},      {u"c", std::nullopt},
      {u"c:", u"\r"},               {u"ｃ:x", std::nullopt},  {u" c:x", std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(commandText(c.in), c.out) << toUtf8(c.in);
}

TEST(Cad, ActionsInOrderAndWhereFailuresStopThem) {
  struct Case {
    const char* name;
    std::function<void(CadDesk&)> setup;
    std::function<CadOutcome(CadDesk&)> act;
    Log log;
    bool sent;
  };
  auto load = [](CadDesk& d) { return d.cad.load(kProgId, u"C:\\work\\my file.lsp"); };
  auto send = [](const char16_t* item) { return [item](CadDesk& d) { return d.cad.sendCommand(kProgId, item); }; };
  const std::string loadCall = "call SendCommand (load \"C:\\\\work\\\\my file.lsp\")(princ)<CR>";
  const Case cases[] = {
      {"load", {}, load, then(kActivation, {"get ActiveDocument", loadCall}), true},
      {"outline command", {}, send(u"C:Test"), then(kActivation, {"get ActiveDocument", "call SendCommand Test<CR>"}),
       true},
      {"function row sends nothing and contacts nobody", {}, send(u"area (w h)"), {}, false},
      {"minimized CAD is restored first",
       [](CadDesk& d) { d.desk.window(d.cadWindow).iconic = true; }, load,
       then({"active Test.Cad", "get HWND", "get HWND", "restore 1", "sleep 500"},
            then(Log(kActivation.begin() + 2, kActivation.end()), {"get ActiveDocument", loadCall})),
       true},
      // As under Wine: the CAD's thread takes the activation while the program waits.
      {"CAD that comes to the front a moment later still gets its Esc",
       [](CadDesk& d) { d.desk.foregroundTakesAWait = true; }, send(u"c:box"),
       then(kActivation, {"get ActiveDocument", "call SendCommand box<CR>"}), true},
      {"CAD that stays behind gets no Esc but the text",
       [](CadDesk& d) { d.desk.refuseForeground = true; }, send(u"c:box"),
       {"active Test.Cad", "get HWND", "get HWND", "foreground 1", "sleep 100", "get HWND", "get ActiveDocument",
        "call SendCommand box<CR>"},
       true},
      {"no CAD running", [](CadDesk& d) { d.automation.apps.clear(); }, load, {"active Test.Cad"}, false},
      {"no HWND member", [](CadDesk& d) { d.app().missing = {"HWND"}; }, load, {"active Test.Cad", "get HWND"}, false},
      {"no ActiveDocument member", [](CadDesk& d) { d.app().missing = {"ActiveDocument"}; }, load,
       then(kActivation, {"get ActiveDocument"}), false},
      {"failing SendCommand", [](CadDesk& d) { d.app().sendFails = true; }, load,
       then(kActivation, {"get ActiveDocument", loadCall}), false},
  };
  for (const Case& c : cases) {
    CadDesk d;
    if (c.setup) c.setup(d);
    const CadOutcome out = c.act(d);
    EXPECT_EQ(d.desk.log, c.log) << c.name;
    EXPECT_EQ(out.sent, c.sent) << c.name;
  }
}

TEST(Cad, ActivationTellsTheWindowItBroughtForward) {
  CadDesk d;
  const CadOutcome out = d.cad.activate(kProgId);
  EXPECT_TRUE(out.activated);
  EXPECT_EQ(out.window, d.cadWindow);
  EXPECT_EQ(d.desk.log, kActivation);

  CadDesk none;
  none.automation.apps.clear();
  EXPECT_EQ(none.cad.activate(kProgId).window, kNoWindow);
}
