// The AutoLISP function reference, when it is open in a window of its own.
#pragma once

#include "bridge/Desktop.h"

namespace quenlit {

inline constexpr TextView kHelpTitlePrefix =
    u"AutoCAD 2023 Developer and ObjectARX ヘルプ | 関数リファレンス(AutoLISP) |";

// The first top-level window, front to back, whose title begins with the help
// title becomes `helpWnd`; when there is none, `helpWnd` keeps what it held.
void findHelpWindow(Desktop& desktop, WindowId& helpWnd);

}  // namespace quenlit
