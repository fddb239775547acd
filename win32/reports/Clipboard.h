// The clipboard as plain Unicode text.
#pragma once

#include <windows.h>

#include "text/Text.h"

namespace quenlit::win {

// Puts `text` on the clipboard for `owner`; false when the clipboard stayed
// taken by another program or the text could not be handed over.
bool putClipboardText(HWND owner, TextView text);

}  // namespace quenlit::win
