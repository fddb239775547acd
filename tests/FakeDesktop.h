// A desktop of made-up windows that records what the bridges do to it, one line
// per action ("foreground 1", "down Ctrl", "settext 3 42", "sleep 200"...).
#pragma once

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "bridge/Desktop.h"

namespace quenlit::test {

struct FakeWindow {
  Text cls{};
  Text title{};
  WindowId parent = kNoWindow;  // none for a top-level window
  bool iconic = false;
  bool enabled = true;
  bool live = true;
  char opensOn = 0;             // hidden until Ctrl (or Alt) + this key is pressed
  bool closesOnActivate = false;
  bool hasIme = false, imeOpen = false;
  ScreenRect rect{0, 0, 400, 300};
};

class FakeDesktop final : public Desktop {
 public:
  // Adds a window behind the others (or in front); ids count from 1.
  WindowId add(FakeWindow w, bool inFront = false) {
    windows_.push_back(std::move(w));
    const WindowId id = windows_.size();
    if (inFront) order_.insert(order_.begin(), id);
    else order_.push_back(id);
    return id;
  }
  FakeWindow& window(WindowId id) { return windows_.at(id - 1); }

  WindowId findWindowByClass(TextView cls) override {
    for (WindowId id : order_)
      if (findable(id) && window(id).cls == cls) return id;
    return kNoWindow;
  }
  WindowId findWindowByTitle(TextView title) override {
    for (WindowId id : order_)
      if (findable(id) && window(id).title == title) return id;
    return kNoWindow;
  }
  void enumWindows(const std::function<bool(WindowId)>& visit) override {
    for (WindowId id : std::vector<WindowId>(order_))
      if (findable(id) && !visit(id)) return;
  }
  WindowId findChildByClass(WindowId parent, TextView cls) override {
    return child(parent, [&](const FakeWindow& w) { return w.cls == cls; });
  }
  WindowId findChildByCaption(WindowId parent, TextView caption) override {
    return child(parent, [&](const FakeWindow& w) { return w.title == caption; });
  }
  Text windowTitle(WindowId w) override { return valid(w) ? window(w).title.substr(0, 254) : Text(); }
  Text className(WindowId w) override { return valid(w) ? window(w).cls.substr(0, 254) : Text(); }

  bool isWindow(WindowId w) override { return valid(w); }
  bool isEnabled(WindowId w) override { return valid(w) && window(w).enabled; }
  bool isIconic(WindowId w) override { return valid(w) && window(w).iconic; }
  void restore(WindowId w) override {
    record("restore " + std::to_string(w));
    if (valid(w)) window(w).iconic = false;
  }
  void showRestored(WindowId w) override {
    record("showrestored " + std::to_string(w));
    if (valid(w)) window(w).iconic = false;
  }
  void setForeground(WindowId w) override {
    record("foreground " + std::to_string(w));
    if (!valid(w) || refuseForeground) return;
    if (window(w).closesOnActivate) {
      window(w).live = false;
      foreground_ = kNoWindow;
      return;
    }
    // Another program's thread takes the activation in its own time: until then
    // no window is in front.
    if (foregroundTakesAWait) {
      foreground_ = kNoWindow;
      pendingForeground_ = w;
      return;
    }
    foreground_ = w;
  }
  WindowId foreground() override { return valid(foreground_) ? foreground_ : kNoWindow; }

  ScreenRect windowRect(WindowId w) override { return valid(w) ? window(w).rect : ScreenRect{}; }
  void placeWindow(WindowId w, const ScreenRect& r) override {
    record("place " + std::to_string(w) + " " + std::to_string(r.left) + "," + std::to_string(r.top) + " " +
           std::to_string(r.width()) + "x" + std::to_string(r.height()));
    if (valid(w)) window(w).rect = r;
  }
  ScreenSize screenSize(WindowId) override { return screen; }
  ScreenRect workArea() override { return work; }

  unsigned scanCode(unsigned vk) override { return vk + 0x100; }
  void keyEvent(unsigned vk, unsigned scan, bool up) override {
    std::string line = std::string(up ? "up " : "down ") + keyName(vk);
    if (scan != scanCode(vk)) line += " (scan " + std::to_string(scan) + ")";
    record(line);
    if (vk == kVkControl || vk == kVkMenu) modifierDown_ = !up;
    if (!up && modifierDown_) revealed_.push_back(char(vk));
  }

  void setText(WindowId w, TextView t) override { record("settext " + std::to_string(w) + " " + toUtf8(t)); }
  void postClick(WindowId w) override { record("click " + std::to_string(w)); }

  WindowId defaultImeWindow(WindowId w) override {
    return valid(w) && window(w).hasIme ? w + 1000 : kNoWindow;  // the IME window stands for its owner
  }
  bool imeOpen(WindowId ime) override { return ime > 1000 && window(ime - 1000).imeOpen; }
  void closeIme(WindowId ime) override {
    record("closeime " + std::to_string(ime - 1000));
    if (ime > 1000) window(ime - 1000).imeOpen = false;
  }

  void sleep(int ms) override {
    record("sleep " + std::to_string(ms));
    if (pendingForeground_ != kNoWindow) foreground_ = std::exchange(pendingForeground_, kNoWindow);
  }

  // The jumps the log shows, as "Ctrl+G 42": the shortcut pressed, then the
  // line set into the dialog's field or typed and entered.
  std::vector<std::string> jumps() const {
    std::vector<std::string> out;
    std::string modifier, shortcut, digits;
    for (const std::string& line : log) {
      if (line == "down Ctrl" || line == "down Alt") {
        modifier = line.substr(5);
      } else if (line == "down Enter" && !digits.empty()) {
        out.push_back(shortcut + " " + digits);
        digits.clear();
      } else if (line.rfind("down ", 0) == 0 && line.size() == 6) {
        const char key = line[5];
        if (key >= '0' && key <= '9') digits += key;
        else shortcut = modifier + "+" + key;
      } else if (line.rfind("settext ", 0) == 0) {
        out.push_back(shortcut + " " + line.substr(line.find(' ', 8) + 1));
      }
    }
    return out;
  }

  std::vector<std::string> log;
  bool refuseForeground = false;
  bool foregroundTakesAWait = false;  // a foreground request takes effect at the next wait
  ScreenSize screen{1920, 1080};
  ScreenRect work{0, 0, 1920, 1080};

 private:
  static std::string keyName(unsigned vk) {
    switch (vk) {
      case kVkControl: return "Ctrl";
      case kVkMenu: return "Alt";
      case kVkReturn: return "Enter";
      case kVkEscape: return "Esc";
      default: return std::string(1, char(vk));
    }
  }
  void record(std::string line) { log.push_back(std::move(line)); }
  bool valid(WindowId w) const { return w >= 1 && w <= windows_.size() && windows_[w - 1].live; }
  bool findable(WindowId id) {
    const FakeWindow& w = window(id);
    if (!w.live || w.parent != kNoWindow) return false;
    return !w.opensOn || std::find(revealed_.begin(), revealed_.end(), w.opensOn) != revealed_.end();
  }
  template <class Pred>
  WindowId child(WindowId parent, Pred pred) {
    for (WindowId id = 1; id <= windows_.size(); ++id)
      if (valid(parent) && window(id).live && window(id).parent == parent && pred(window(id))) return id;
    return kNoWindow;
  }

  std::vector<FakeWindow> windows_;
  std::vector<WindowId> order_;  // top-level z-order, front first (children too, never found there)
  WindowId foreground_ = kNoWindow, pendingForeground_ = kNoWindow;
  bool modifierDown_ = false;
  std::vector<char> revealed_;
};

}  // namespace quenlit::test
