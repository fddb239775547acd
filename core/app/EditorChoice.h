// The editor selection (ComboBox1): its fixed items, in index order.
#pragma once

#include <array>

#include "text/Text.h"

namespace quenlit {

inline constexpr std::array<TextView, 5> kEditorItems = {u"VS Code", u"メモ帳", u"Notepad ++", u"Mery", u"TeraPad"};

// The index the editor selection holds after the user typed `typed` into it: the
// item that text names (letter case aside), or -1, which selects no editor.
int editorIndexForText(TextView typed);

}  // namespace quenlit
