#include "pane/ResultPane.h"

namespace quenlit {

Text lineNumberField(long long lineNo) {
  Text digits = toText(lineNo);
  if (digits.size() < 5) digits.insert(0, 5 - digits.size(), u' ');
  return digits + u"|";
}

}  // namespace quenlit
