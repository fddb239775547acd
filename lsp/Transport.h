// JSON-RPC framing of the language server: `Content-Length` headers, then exactly
// that many bytes of JSON. Bytes only: decoding the JSON is the dispatcher's job.
#pragma once

#include <istream>
#include <ostream>
#include <string>

namespace quenlit::lsp {

class FrameReader {
 public:
  explicit FrameReader(std::istream& in) : in_(in) {}

  // The next body; false once the input has ended (closed, or ended inside a
  // message). What was skipped on the way (a header block without a usable
  // Content-Length, stray bytes) is told in `problem`; `body` is then empty when
  // no message followed.
  bool next(std::string& body, std::string& problem);

 private:
  std::istream& in_;
};

// Frames `body` and flushes, so the client never waits on a half-written message.
void writeFrame(std::ostream& out, const std::string& body);

// Bodies above this are refused: a wrong length must not make the server reserve
// gigabytes before reading.
inline constexpr size_t kMaxBody = 64u << 20;

}  // namespace quenlit::lsp
