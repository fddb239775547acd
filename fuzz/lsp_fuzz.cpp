// The language server on arbitrary bytes. Input that starts like a header is a framed
// stream: every message is handled in an initialized session. Any other input is the
// text of an open document, on which every feature is asked at a few places.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <sstream>

#include "Server.h"
#include "Transport.h"

namespace {

using quenlit::lsp::Json;

std::string request(int id, const char* method, Json params) {
  return Json{{"jsonrpc", "2.0"}, {"id", id}, {"method", method}, {"params", std::move(params)}}.dump();
}

}  // namespace

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
  server.handle(request(0, "initialize", {{"capabilities", Json::object()}}));
  const std::string input(reinterpret_cast<const char*>(data), size);
  if (input.rfind("Content-Length", 0) == 0) {
    std::istringstream in(input);
    FrameReader frames(in);
    std::string body, problem;
    while (frames.next(body, problem) && !server.exited()) {
      if (!body.empty()) server.handle(body);
      server.idle();
    }
    if (sent == 0) __builtin_trap();
    return 0;
  }
  const Json doc = {{"uri", "untitled:fuzz"}};
  server.handle(Json{{"jsonrpc", "2.0"},
                     {"method", "textDocument/didOpen"},
                     {"params", {{"textDocument", {{"uri", "untitled:fuzz"}, {"languageId", "autolisp"}, {"version", 1},
                                                   {"text", input}}}}}}
                    .dump(-1, ' ', false, Json::error_handler_t::replace));
  server.idle();
  int id = 1;
  for (const char* method : {"textDocument/documentSymbol", "textDocument/foldingRange", "textDocument/semanticTokens/full"})
    server.handle(request(id++, method, {{"textDocument", doc}}));
  const int lines = 1 + int(std::count(input.begin(), input.end(), '\n'));
  for (int k = 0; k < 4; ++k) {
    const Json pos = {{"line", (k * 7 + int(size)) % lines}, {"character", (k * 13 + int(size)) % 40}};
    for (const char* method : {"textDocument/hover", "textDocument/definition", "textDocument/references",
                               "textDocument/documentHighlight", "textDocument/completion", "textDocument/signatureHelp",
                               "textDocument/prepareRename"})
      server.handle(request(id++, method, {{"textDocument", doc}, {"position", pos}, {"context", {{"includeDeclaration", true}}}}));
    server.handle(request(id++, "textDocument/rename", {{"textDocument", doc}, {"position", pos}, {"newName", "renamed"}}));
    server.handle(request(id++, "textDocument/codeAction",
                          {{"textDocument", doc}, {"range", {{"start", pos}, {"end", {{"line", lines}, {"character", 0}}}}}}));
  }
  if (sent == 0) __builtin_trap();  // initialize is always answered
  return 0;
}
