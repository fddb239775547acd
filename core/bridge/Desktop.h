// The desktop as the bridges see it: other programs' windows, synthesized keys,
// messages to their controls and fixed waits. The Windows program implements it
// over user32 and imm32; the tests use a recording fake, so every rule about which
// window is the target and which keys go out is tested without a desktop.
#pragma once

#include <cstdint>
#include <functional>

#include "text/ScreenRect.h"
#include "text/Text.h"

namespace quenlit {

// A window of any program; opaque, and kNoWindow is none. A stored id may name a
// window that has closed since.
using WindowId = std::uintptr_t;
inline constexpr WindowId kNoWindow = 0;

// Virtual-key codes of the keys the bridges press.
enum VirtualKey : unsigned {
  kVkReturn = 0x0D,
  kVkControl = 0x11,
  kVkMenu = 0x12,  // Alt
  kVkEscape = 0x1B,
};
inline constexpr unsigned vkOf(char c) { return unsigned(c); }  // digits and upper-case letters

struct ScreenSize {
  int width = 0, height = 0;
};

// Finding other programs' windows and reading what they show.
class DesktopWindows {
 public:
  virtual ~DesktopWindows() = default;

  // Top-level windows: the first of a class, the first with a title, or each one
  // front to back until `visit` returns false.
  virtual WindowId findWindowByClass(TextView className) = 0;
  virtual WindowId findWindowByTitle(TextView title) = 0;
  virtual void enumWindows(const std::function<bool(WindowId)>& visit) = 0;
  // The first child of `parent` with a class, or with a caption.
  virtual WindowId findChildByClass(WindowId parent, TextView className) = 0;
  virtual WindowId findChildByCaption(WindowId parent, TextView caption) = 0;

  // Read into buffers of 255 characters: at most 254 come back. Empty for none.
  virtual Text windowTitle(WindowId w) = 0;
  virtual Text className(WindowId w) = 0;

  virtual bool isWindow(WindowId w) = 0;
  virtual bool isEnabled(WindowId w) = 0;
  virtual bool isIconic(WindowId w) = 0;
  virtual WindowId foreground() = 0;
};

// Bringing windows forward and placing them on the screen.
class WindowMoves {
 public:
  virtual ~WindowMoves() = default;
  virtual void restore(WindowId w) = 0;          // OpenIcon
  virtual void showRestored(WindowId w) = 0;     // ShowWindow with SW_RESTORE
  virtual void setForeground(WindowId w) = 0;

  // Placement: the outer rectangle, and moving a window to the top of the
  // z-order with a new rectangle, shown but not activated.
  virtual ScreenRect windowRect(WindowId w) = 0;
  virtual void placeWindow(WindowId w, const ScreenRect& r) = 0;
  // The primary screen as seen at the DPI of `forWindow`, and the part of it
  // that the task bar and other docked bars leave to the windows.
  virtual ScreenSize screenSize(WindowId forWindow) = 0;
  virtual ScreenRect workArea() = 0;
};

// Input into other programs: keys, control texts and clicks, their input
// methods, and fixed waits.
class DesktopInput {
 public:
  virtual ~DesktopInput() = default;

  // Keyboard: the scan code the system maps from a virtual-key code, and one key event.
  virtual unsigned scanCode(unsigned vk) = 0;
  virtual void keyEvent(unsigned vk, unsigned scan, bool up) = 0;

  // A control's text, set synchronously; a left click posted (down, then up,
  // zero position) without waiting for the control.
  virtual void setText(WindowId w, TextView text) = 0;
  virtual void postClick(WindowId w) = 0;

  // The input method of a window: its default IME window (none when it has none),
  // whether that one is open, and closing it.
  virtual WindowId defaultImeWindow(WindowId w) = 0;
  virtual bool imeOpen(WindowId imeWindow) = 0;
  virtual void closeIme(WindowId imeWindow) = 0;

  virtual void sleep(int ms) = 0;
};

// The whole desktop, as the bridges take it.
class Desktop : public DesktopWindows, public WindowMoves, public DesktopInput {};

}  // namespace quenlit
