// The desktop over user32 and imm32: other programs' windows, synthesized keys
// and messages to their controls.
#pragma once

#include "bridge/Desktop.h"

namespace quenlit::win {

class WinDesktop final : public Desktop {
 public:
  WindowId findWindowByClass(TextView className) override;
  WindowId findWindowByTitle(TextView title) override;
  void enumWindows(const std::function<bool(WindowId)>& visit) override;
  WindowId findChildByClass(WindowId parent, TextView className) override;
  WindowId findChildByCaption(WindowId parent, TextView caption) override;
  Text windowTitle(WindowId w) override;
  Text className(WindowId w) override;
  bool isWindow(WindowId w) override;
  bool isEnabled(WindowId w) override;
  bool isIconic(WindowId w) override;
  void restore(WindowId w) override;
  void showRestored(WindowId w) override;
  void setForeground(WindowId w) override;
  WindowId foreground() override;
  ScreenRect windowRect(WindowId w) override;
  void placeWindow(WindowId w, const ScreenRect& r) override;
  ScreenSize screenSize(WindowId forWindow) override;
  ScreenRect workArea() override;
  unsigned scanCode(unsigned vk) override;
  void keyEvent(unsigned vk, unsigned scan, bool up) override;
  void setText(WindowId w, TextView text) override;
  void postClick(WindowId w) override;
  WindowId defaultImeWindow(WindowId w) override;
  bool imeOpen(WindowId imeWindow) override;
  void closeIme(WindowId imeWindow) override;
  void sleep(int ms) override;
};

}  // namespace quenlit::win
