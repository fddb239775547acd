// The language server's framing and dispatch on arbitrary bytes: an initialized
// session, then whatever the input frames, each message handled and checked.
#include <cstddef>
#include <cstdint>
#include <sstream>

#include "Server.h"
#include "Transport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace quenlit::lsp;
  std::ostringstream log;
  size_t sent = 0;
  Server server(
      [&](const std::string& m) {
        // Every message the server writes must be JSON.
        if (Json::parse(m, nullptr, false).is_discarded()) __builtin_trap();
        sent += m.size();
      },
      log, std::filesystem::path());
  server.handle(R"({"jsonrpc":"2.0","id":0,"method":"initialize","params":{"capabilities":{}}})");
  server.handle(R"j({"jsonrpc":"2.0","method":"textDocument/didOpen","params":{"textDocument":)j"
                R"j({"uri":"untitled:a","languageId":"autolisp","version":1,"text":"(defun f (a / b) (setq c a))"}}})j");
  std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
  FrameReader frames(in);
  std::string body, problem;
  while (frames.next(body, problem) && !server.exited()) {
    if (!body.empty()) server.handle(body);
    server.idle();
  }
  return sent == 0;  // initialize is always answered
}
