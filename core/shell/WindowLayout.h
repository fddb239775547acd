// The main window's layout decisions, in design pixels (96 DPI): how far the two
// splitters may move, the smallest window that still shows every part, and where
// a window remembered from an earlier run goes on today's screen.
#pragma once

#include <optional>

#include "text/ScreenRect.h"

namespace quenlit {

namespace layout {
inline constexpr int kDesignWidth = 242, kDesignHeight = 455;  // the client area as designed
// The design's own controls reach x = 257 ("C", "E" and ">"), so the window opens
// wide enough to show them whole and is never made narrower.
inline constexpr int kMinWidth = 258;
inline constexpr int kControlPanel = 193;  // Panel2, above Splitter2
inline constexpr int kLowerPanel = 166;    // Panel1: search bar, pane, progress bar
inline constexpr int kSplitter2 = 4, kSplitter1 = 8;
inline constexpr int kSearchBar = 55, kProgress = 7;
// What must stay visible however small the window or far the splitters go.
inline constexpr int kMinControlPanel = 30;  // a strip of the buttons to drag back
inline constexpr int kMinOutline = 60;       // three rows
inline constexpr int kMinPaneText = 40;      // two lines
inline constexpr int kMinLowerPanel = kSearchBar + kMinPaneText + kProgress;
}  // namespace layout

// Heights of the two panels the splitters move.
struct PanelHeights {
  int control = layout::kControlPanel;
  int lower = layout::kLowerPanel;
  bool operator==(const PanelHeights&) const = default;
};

// Splitter2 moved by `dy` (down is positive) in a client area `clientHeight`
// high: the control panel grows or shrinks, the outline keeps its minimum.
PanelHeights moveSplitter2(PanelHeights p, int dy, int clientHeight);
// Splitter1 moved by `dy`: the lower panel shrinks (down) or grows (up).
PanelHeights moveSplitter1(PanelHeights p, int dy, int clientHeight);

// The client height below which a part would vanish, for these panels.
int minClientHeight(const PanelHeights& p);

// Heights as they are laid out in a client area `clientHeight` high: when it is
// smaller than the panels need, the lower panel gives way first, then the outline.
struct VerticalLayout {
  int control, outline, lower;
};
VerticalLayout layOut(const PanelHeights& p, int clientHeight);

// A window rectangle moved (and, if it does not fit, shrunk) so that it lies
// wholly inside the work area: a window remembered on a screen that is gone, or
// larger than today's, comes back where the user can reach it.
ScreenRect clampToWorkArea(ScreenRect window, const ScreenRect& workArea);

}  // namespace quenlit
