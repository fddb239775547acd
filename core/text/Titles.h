// The titles every box and caption takes: the application's own, the caption
// before the start-up finds the target CAD, and the one confirmation title.
#pragma once

#include "text/Text.h"

namespace quenlit {

inline constexpr TextView kAppTitle = u"QuenlitX";
inline constexpr TextView kInitialCaption = u"Quenlit";
inline constexpr TextView kConfirmTitle = u"確認";

}  // namespace quenlit
