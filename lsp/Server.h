// `quenlit lsp`: the scoped rules, the outline and the jumps of `quenlit check`
// served to editors over the Language Server Protocol. The server is one object
// fed one message at a time; the stdio loop around it owns the threads.
#pragma once

#include <filesystem>
#include <functional>
#include <istream>
#include <map>
#include <memory>
#include <ostream>
#include <set>
#include <string>

#include <nlohmann/json.hpp>

#include "Workspace.h"

namespace quenlit::lsp {

using Json = nlohmann::json;

class Server {
 public:
  using SendText = std::function<void(const std::string&)>;
  // `send` receives every outgoing message as JSON text; `log` the lines that go to stderr.
  Server(SendText send, std::ostream& log, std::filesystem::path exeDir);

  // One message body as framed. Malformed JSON is logged and dropped.
  void handle(const std::string& body);
  // Ids of requests to answer as cancelled when they come to be handled.
  void cancel(const Json& id) { cancelled_.insert(id.dump()); }
  // Re-checks changed documents and publishes what changed. `stale` is asked after
  // the check: true when newer messages wait, and the result is then dropped.
  void idle(const std::function<bool()>& stale = {});
  bool dirty() const { return workspace_.dirty(); }

  bool exited() const { return exited_; }
  int exitCode() const { return shutdown_ ? 0 : 1; }

 private:
  void request(const std::string& method, const Json& id, const Json& params);
  void notification(const std::string& method, const Json& params);
  Json initialize(const Json& params);
  void applySettings(const Json& settings);
  void logMessage(int type, const std::string& text);
  void respond(const Json& id, Json result);
  void respondError(const Json& id, int code, const std::string& message);

  SendText sendText_;
  std::function<void(const Json&)> send_;
  std::ostream& log_;
  std::filesystem::path exeDir_;
  Workspace workspace_;
  std::set<std::string> cancelled_;
  uint64_t semanticSerial_ = 0;
  bool watchFiles_ = false;  // the client registers file watchers for us
  bool initialized_ = false, shutdown_ = false, exited_ = false;
};

// Reads framed messages from `in` until exit or the end of the input; returns the
// exit code (0 after shutdown, else 1).
int runStdio(std::istream& in, std::ostream& out, std::ostream& log, const std::filesystem::path& exeDir);

}  // namespace quenlit::lsp
