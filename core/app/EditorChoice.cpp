#include "app/EditorChoice.h"

namespace quenlit {

int editorIndexForText(TextView typed) {
  for (size_t i = 0; i < kEditorItems.size(); ++i)
    if (!typed.empty() && listEqual(typed, kEditorItems[i])) return int(i);
  return -1;
}

}  // namespace quenlit
