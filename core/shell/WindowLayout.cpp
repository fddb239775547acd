#include "shell/WindowLayout.h"

#include <algorithm>

namespace quenlit {

using namespace layout;

namespace {
constexpr int kFixed = kSplitter2 + kSplitter1;
}

PanelHeights moveSplitter2(PanelHeights p, int dy, int clientHeight) {
  const int most = std::max(kMinControlPanel, clientHeight - kFixed - kMinOutline - p.lower);
  p.control = std::clamp(p.control + dy, kMinControlPanel, most);
  return p;
}

PanelHeights moveSplitter1(PanelHeights p, int dy, int clientHeight) {
  const int most = std::max(kMinLowerPanel, clientHeight - kFixed - kMinOutline - p.control);
  p.lower = std::clamp(p.lower - dy, kMinLowerPanel, most);
  return p;
}

int minClientHeight(const PanelHeights& p) { return p.control + kFixed + kMinOutline + kMinLowerPanel; }

VerticalLayout layOut(const PanelHeights& p, int clientHeight) {
  VerticalLayout v{p.control, 0, p.lower};
  int outline = clientHeight - kFixed - p.control - p.lower;
  if (outline < kMinOutline) {
    v.lower = std::max(kMinLowerPanel, p.lower - (kMinOutline - outline));
    outline = clientHeight - kFixed - p.control - v.lower;
  }
  v.outline = std::max(0, outline);
  return v;
}

ScreenRect clampToWorkArea(ScreenRect w, const ScreenRect& area) {
  const int width = std::min(w.width(), area.width());
  const int height = std::min(w.height(), area.height());
  const int left = std::clamp(w.left, area.left, area.right - width);
  const int top = std::clamp(w.top, area.top, area.bottom - height);
  return ScreenRect{left, top, left + width, top + height};
}

}  // namespace quenlit
