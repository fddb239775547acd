#include "bridge/Cad.h"

namespace quenlit {

namespace {
constexpr TextView kHwnd = u"HWND";
constexpr TextView kActiveDocument = u"ActiveDocument";
constexpr TextView kSendCommand = u"SendCommand";
}  // namespace

Text loadText(TextView fullPath) {
  return u"(load \"" + replaceAll(fullPath, u"\\", u"\\\\") + u"\")(princ)\r";
}

std::optional<Text> commandText(TextView itemText) {
  if (!startsWith(toUpperAscii(itemText.substr(0, 2)), u"C:")) return std::nullopt;
  return trim(itemText.substr(2)) + u"\r";
}

std::optional<WindowId> Cad::readWindow(AutomationObject& app) {
  auto h = app.getInteger(kHwnd);
  if (!h) return std::nullopt;
  return WindowId(std::uintptr_t(*h));
}

// Each step reads HWND afresh, as the CAD may have replaced its window meanwhile.
CadOutcome Cad::activate(TextView progId, std::unique_ptr<AutomationObject>& app) {
  CadOutcome out;
  app = automation_.activeObject(progId);
  if (!app) return out;
  auto w = readWindow(*app);
  if (!w) return out;
  if (desktop_.isIconic(*w)) {
    if (!(w = readWindow(*app))) return out;
    desktop_.restore(*w);
    desktop_.sleep(kWaitAfterCadRestore);
  }
  if (!(w = readWindow(*app))) return out;
  desktop_.setForeground(*w);
  out.window = *w;
  // The CAD's own thread takes the activation: asked at once, the system may not
  // name it the foreground window yet (Wine never did), and an Esc sent then
  // reaches no window. The editor jump waits the same way.
  desktop_.sleep(kWaitAfterCadForeground);
  const WindowId front = desktop_.foreground();
  auto now = readWindow(*app);
  if (!now) return out;
  if (front == *now) {
    // Scan code 0, as the CAD has always been sent it.
    desktop_.keyEvent(kVkEscape, 0, false);
    desktop_.keyEvent(kVkEscape, 0, true);
    desktop_.sleep(kWaitAfterEscape);
  }
  out.activated = true;
  return out;
}

CadOutcome Cad::activate(TextView progId) {
  std::unique_ptr<AutomationObject> app;
  return activate(progId, app);
}

CadOutcome Cad::sendText(TextView progId, TextView text) {
  std::unique_ptr<AutomationObject> app;
  CadOutcome out = activate(progId, app);
  if (!out.activated) return out;
  auto doc = app->getObject(kActiveDocument);
  if (!doc) return out;
  out.sent = doc->call(kSendCommand, text);
  return out;
}

CadOutcome Cad::sendCommand(TextView progId, TextView itemText) {
  auto command = commandText(itemText);
  if (!command) return {};
  return sendText(progId, *command);
}

}  // namespace quenlit
