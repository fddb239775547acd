// A horizontal splitter bar: dragging it tells the parent how far the bar moved
// with kMsgSplitterMoved (wParam the control id, lParam the vertical distance).
#pragma once

#include <windows.h>

namespace quenlit::win {

void registerSplitterClass(HINSTANCE instance);

}  // namespace quenlit::win
