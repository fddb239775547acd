// The AutoLISP function reference: its window when a browser or the help viewer
// shows it, and its address on the CAD maker's help server when none does.
#pragma once

#include "bridge/Desktop.h"
#include "text/Text.h"

namespace quenlit {

inline constexpr TextView kHelpTitlePrefix = u"AutoCAD 2023 Developer and ObjectARX ヘルプ | 関数リファレンス(AutoLISP) |";
inline constexpr TextView kHelpPageAddress =
    u"https://help.autodesk.com/view/OARX/2023/JPN/?guid=GUID-4CEE5072-8817-4920-8A2D-7060F5E16547";

// The first top-level window, front to back, whose title begins with the
// prefix becomes `helpWnd`; when none does, `helpWnd` keeps what it held.
void findHelpWindow(Desktop& desktop, WindowId& helpWnd);

}  // namespace quenlit
