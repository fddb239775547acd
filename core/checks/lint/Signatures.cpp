#include <algorithm>
#include <iterator>

#include "checks/lint/Lint.h"

namespace quenlit::lint {

namespace {

// Sorted by the name with ASCII letters upper-cased.
constexpr Signature kSignatures[] = {
#include "checks/lint/BuiltinSignatures.inc"
};

int compareFolded(const char16_t* a, TextView b) {
  size_t i = 0;
  for (; a[i] && i < b.size(); ++i) {
    const char16_t x = toUpperAscii(a[i]), y = toUpperAscii(b[i]);
    if (x != y) return x < y ? -1 : 1;
  }
  if (a[i]) return 1;
  return i < b.size() ? -1 : 0;
}

}  // namespace

const Signature* findSignature(TextView name) {
  auto it = std::lower_bound(std::begin(kSignatures), std::end(kSignatures), name,
                             [](const Signature& s, TextView n) { return compareFolded(s.name, n) < 0; });
  if (it == std::end(kSignatures) || compareFolded(it->name, name) != 0) return nullptr;
  return &*it;
}

size_t signatureCount() { return std::size(kSignatures); }

}  // namespace quenlit::lint
