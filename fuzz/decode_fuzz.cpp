// Decoding and line splitting take any bytes: no crash, and what comes out is consistent.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "text/Encoding.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace quenlit;
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  auto d = decodeAuto(bytes, 932);
  auto lines = splitLines(d.text);
  for (const auto& l : lines)
    for (char16_t c : l)
      if (c == u'\r' || c == u'\n') std::abort();
  // Strict UTF-8 that succeeds must survive a round trip.
  if (auto u = decodeUtf8Strict(bytes)) {
    if (toUtf8(*u) != bytes) std::abort();
  }
  (void)encodeLines(lines, d.encoding, 932);
  return 0;
}
