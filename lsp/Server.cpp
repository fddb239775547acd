#include "Server.h"

#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

#include "Features.h"
#include "QuenlitVersion.h"
#include "Transport.h"

namespace quenlit::lsp {

namespace {

// JSON-RPC and protocol error codes.
constexpr int kParseError = -32700;
constexpr int kInvalidRequest = -32600;
constexpr int kMethodNotFound = -32601;
constexpr int kInvalidParams = -32602;
constexpr int kInternalError = -32603;
constexpr int kServerNotInitialized = -32002;
constexpr int kRequestCancelled = -32800;
constexpr int kRequestFailed = -32803;

struct RequestError {
  int code;
  std::string message;
};

const Json& member(const Json& j, const char* key) {
  static const Json null;
  if (!j.is_object()) return null;
  auto it = j.find(key);
  return it == j.end() ? null : *it;
}

std::string stringMember(const Json& j, const char* key) {
  const Json& v = member(j, key);
  return v.is_string() ? v.get<std::string>() : std::string();
}

Document& documentOf(Workspace& ws, const Json& params) {
  const std::string uri = stringMember(member(params, "textDocument"), "uri");
  Document* doc = uri.empty() ? nullptr : ws.find(uri);
  if (!doc) throw RequestError{kInvalidParams, "unknown document: " + uri};
  return *doc;
}

std::optional<int64_t> versionOf(const Json& textDocument) {
  const Json& v = member(textDocument, "version");
  if (v.is_number_integer()) return v.get<int64_t>();
  return std::nullopt;
}

}  // namespace

Server::Server(SendText send, std::ostream& log, std::filesystem::path exeDir)
    : sendText_(std::move(send)),
      send_([this](const Json& m) { sendText_(m.dump(-1, ' ', false, Json::error_handler_t::replace)); }),
      log_(log),
      exeDir_(exeDir),
      workspace_(exeDir) {}

void Server::logMessage(int type, const std::string& text) {
  log_ << "quenlit lsp: " << text << "\n";
  log_.flush();
  send_({{"jsonrpc", "2.0"}, {"method", "window/logMessage"}, {"params", {{"type", type}, {"message", text}}}});
}

void Server::respond(const Json& id, Json result) {
  send_({{"jsonrpc", "2.0"}, {"id", id}, {"result", std::move(result)}});
}

void Server::respondError(const Json& id, int code, const std::string& message) {
  send_({{"jsonrpc", "2.0"}, {"id", id}, {"error", {{"code", code}, {"message", message}}}});
}

void Server::handle(const std::string& body) {
  Json msg = Json::parse(body, nullptr, false);
  if (msg.is_discarded()) {
    logMessage(1, "ParseError (" + std::to_string(kParseError) + "): a message is no valid JSON and was dropped");
    return;
  }
  const Json& method = member(msg, "method");
  const Json& id = member(msg, "id");
  const bool hasId = msg.is_object() && msg.contains("id") && (id.is_string() || id.is_number_integer());
  if (!method.is_string()) {
    if (msg.is_object() && (msg.contains("result") || msg.contains("error"))) return;  // a reply to us: none expected
    if (hasId) respondError(id, kInvalidRequest, "a request needs a method");
    else logMessage(1, "a message with neither method nor id was dropped");
    return;
  }
  const Json& params = member(msg, "params");
  try {
    if (hasId) request(method.get<std::string>(), id, params);
    else notification(method.get<std::string>(), params);
  } catch (const RequestError& e) {
    if (hasId) respondError(id, e.code, e.message);
    else logMessage(1, e.message);
  } catch (const std::exception& e) {
    // A message of an unexpected shape must not end the session.
    if (hasId) respondError(id, kInternalError, e.what());
    else logMessage(1, std::string(method.get<std::string>()) + ": " + e.what());
  }
}

Json Server::initialize(const Json& params) {
  const Json& encodings = member(member(member(params, "capabilities"), "general"), "positionEncodings");
  std::string encoding = "utf-16";
  if (encodings.is_array())
    for (const Json& e : encodings)
      if (e == "utf-16" || e == "utf-8") {
        encoding = e.get<std::string>();
        break;
      }
  workspace_.utf8 = encoding == "utf-8";
  watchFiles_ = member(member(member(member(params, "capabilities"), "workspace"), "didChangeWatchedFiles"),
                       "dynamicRegistration") == true;
  applySettings(member(params, "initializationOptions"));

  std::vector<std::string> folders;
  const Json& wf = member(params, "workspaceFolders");
  if (wf.is_array())
    for (const Json& f : wf) folders.push_back(stringMember(f, "uri"));
  if (folders.empty()) {
    if (const std::string root = stringMember(params, "rootUri"); !root.empty()) folders.push_back(root);
  }
  for (const std::string& uri : folders)
    if (const auto path = uriToPath(uri)) {
      const size_t n = workspace_.addFolder(*path, log_);
      log_ << "quenlit lsp: " << n << " files read below " << uri << "\n";
    }

  Json capabilities = {
      {"positionEncoding", encoding},
      {"textDocumentSync", {{"openClose", true}, {"change", 2}, {"save", {{"includeText", true}}}}},
      {"documentSymbolProvider", true},
      {"definitionProvider", true},
      {"referencesProvider", true},
      {"documentHighlightProvider", true},
      {"hoverProvider", true},
      {"codeActionProvider", {{"codeActionKinds", Json::array({"quickfix"})}}},
      {"foldingRangeProvider", true},
      {"workspaceSymbolProvider", true},
      {"semanticTokensProvider", {{"legend", semanticTokensLegend()}, {"full", {{"delta", true}}}}},
      {"completionProvider", {{"triggerCharacters", Json::array({"("})}}},
      {"signatureHelpProvider", {{"triggerCharacters", Json::array({" "})}}},
      {"renameProvider", {{"prepareProvider", true}}},
      {"workspace", {{"workspaceFolders", {{"supported", true}, {"changeNotifications", true}}}}}};
  return {{"capabilities", capabilities}, {"serverInfo", {{"name", "quenlit"}, {"version", QUENLIT_VERSION}}}};
}

void Server::applySettings(const Json& given) {
  // Either the settings themselves or wrapped in {"quenlit": ...}, as editors send them.
  const Json& s = member(given, "quenlit").is_object() ? member(given, "quenlit") : given;
  if (!s.is_object()) return;
  Settings next = workspace_.settings();
  if (const Json& v = member(s, "acrossFiles"); v.is_boolean()) next.acrossFiles = v.get<bool>();
  if (const Json& v = member(s, "globals"); v.is_array()) {
    next.globals.clear();
    for (const Json& g : v)
      if (g.is_string()) next.globals.push_back(fromUtf8Lenient(g.get<std::string>()));
  }
  if (const Json& v = member(s, "ignore"); v.is_array()) {
    next.ignore.clear();
    for (const Json& g : v)
      if (g.is_string()) next.ignore.insert(g.get<std::string>());
  }
  if (const Json& v = member(s, "exclusionFile"); v.is_string()) next.exclusionFile = v.get<std::string>();
  if (const Json& v = member(s, "ruleHelpBase"); v.is_string()) next.helpBase = v.get<std::string>();
  if (const Json& v = member(s, "lang"); v.is_string())
    next.lang = v == "ja" ? lint::LintLang::kJapanese : lint::LintLang::kEnglish;
  if (const std::string problem = workspace_.configure(std::move(next)); !problem.empty()) logMessage(2, problem);
}

void Server::request(const std::string& method, const Json& id, const Json& params) {
  if (cancelled_.erase(id.dump())) return respondError(id, kRequestCancelled, "cancelled");
  if (method == "initialize") {
    if (initialized_) return respondError(id, kInvalidRequest, "initialize was already received");
    initialized_ = true;
    return respond(id, initialize(params));
  }
  if (!initialized_) return respondError(id, kServerNotInitialized, "the server is not initialized yet");
  if (shutdown_) return respondError(id, kInvalidRequest, "the server is shutting down");
  if (method == "shutdown") {
    shutdown_ = true;
    return respond(id, nullptr);
  }
  if (method == "textDocument/documentSymbol") return respond(id, documentSymbols(workspace_, documentOf(workspace_, params)));
  if (method == "textDocument/definition")
    return respond(id, definition(workspace_, documentOf(workspace_, params), member(params, "position")));
  if (method == "textDocument/references") {
    const bool decl = member(member(params, "context"), "includeDeclaration") == true;
    return respond(id, references(workspace_, documentOf(workspace_, params), member(params, "position"), decl));
  }
  if (method == "textDocument/documentHighlight")
    return respond(id, documentHighlight(workspace_, documentOf(workspace_, params), member(params, "position")));
  if (method == "textDocument/hover")
    return respond(id, hover(workspace_, documentOf(workspace_, params), member(params, "position")));
  if (method == "textDocument/completion")
    return respond(id, completion(workspace_, documentOf(workspace_, params), member(params, "position")));
  if (method == "textDocument/signatureHelp")
    return respond(id, signatureHelp(workspace_, documentOf(workspace_, params), member(params, "position")));
  if (method == "textDocument/semanticTokens/full" || method == "textDocument/semanticTokens/full/delta") {
    Document& doc = documentOf(workspace_, params);
    std::vector<uint32_t> data = semanticTokens(workspace_, doc);
    const std::string previous = stringMember(params, "previousResultId");
    Json result;
    if (method.size() > 25 && !previous.empty() && previous == doc.semanticId) {
      // One edit: what lies between the common start and the common end.
      const auto& old = doc.semantic;
      size_t head = 0;
      while (head < old.size() && head < data.size() && old[head] == data[head]) ++head;
      size_t tail = 0;
      while (tail < old.size() - head && tail < data.size() - head && old[old.size() - 1 - tail] == data[data.size() - 1 - tail])
        ++tail;
      Json edits = Json::array();
      if (head != old.size() || head != data.size())
        edits.push_back({{"start", head},
                         {"deleteCount", old.size() - head - tail},
                         {"data", std::vector<uint32_t>(data.begin() + long(head), data.end() - long(tail))}});
      result = {{"edits", edits}};
    } else {
      result = {{"data", data}};
    }
    doc.semanticId = std::to_string(++semanticSerial_);
    result["resultId"] = doc.semanticId;
    doc.semantic = std::move(data);
    return respond(id, result);
  }
  if (method == "workspace/symbol") return respond(id, workspaceSymbols(workspace_, stringMember(params, "query")));
  if (method == "textDocument/prepareRename" || method == "textDocument/rename") {
    Document& doc = documentOf(workspace_, params);
    try {
      if (method == "textDocument/prepareRename") return respond(id, prepareRename(workspace_, doc, member(params, "position")));
      return respond(id, rename(workspace_, doc, member(params, "position"), stringMember(params, "newName")));
    } catch (const RenameRefused& r) {
      return respondError(id, kRequestFailed, r.reason);
    }
  }
  if (method == "textDocument/foldingRange") return respond(id, foldingRanges(workspace_, documentOf(workspace_, params)));
  if (method == "textDocument/codeAction") {
    Document& doc = documentOf(workspace_, params);
    // The fixes are built from findings: they must be those of the text as it is now.
    if (workspace_.dirty()) idle();
    return respond(id, codeActions(workspace_, doc, member(params, "range")));
  }
  respondError(id, kMethodNotFound, "unknown method: " + method);
}

void Server::notification(const std::string& method, const Json& params) {
  if (method == "exit") {
    exited_ = true;
    return;
  }
  if (method == "$/cancelRequest") {
    // Requests are answered in order, so one cancelled after its answer is a no-op.
    return;
  }
  if (!initialized_ || shutdown_) return;
  const Json& td = member(params, "textDocument");
  const std::string uri = stringMember(td, "uri");
  if (method == "initialized") {
    // Let the client tell of *.lsp files changed by other programs; without it, the
    // disk is looked at on every save.
    if (watchFiles_)
      send_({{"jsonrpc", "2.0"},
             {"id", "quenlit-watch"},
             {"method", "client/registerCapability"},
             {"params",
              {{"registrations",
                Json::array({{{"id", "quenlit-watch"},
                              {"method", "workspace/didChangeWatchedFiles"},
                              {"registerOptions", {{"watchers", Json::array({{{"globPattern", "**/*.{lsp,LSP,Lsp}"}}})}}}}})}}}});
    return;
  }
  if (method == "textDocument/didOpen") {
    if (uri.empty()) throw RequestError{kInvalidParams, "didOpen without a uri"};
    return workspace_.open(uri, fromUtf8Lenient(stringMember(td, "text")), versionOf(td));
  }
  if (method == "textDocument/didChange") {
    std::string problem;
    if (!workspace_.change(uri, versionOf(td), member(params, "contentChanges"), problem)) logMessage(1, problem);
    return;
  }
  if (method == "textDocument/didClose") return workspace_.close(uri);
  if (method == "textDocument/didSave") {
    workspace_.saved(uri, member(params, "text"));
    if (!watchFiles_) workspace_.refreshFromDisk();
    return;
  }
  if (method == "workspace/didChangeConfiguration") return applySettings(member(params, "settings"));
  if (method == "workspace/didChangeWatchedFiles") {
    const Json& changes = member(params, "changes");
    if (changes.is_array())
      for (const Json& c : changes) {
        const std::string u = stringMember(c, "uri");
        if (u.empty()) continue;
        if (member(c, "type") == 3) workspace_.forget(u);
        else workspace_.reloadFromDisk(u);
      }
    return;
  }
  if (method == "workspace/didChangeWorkspaceFolders") {
    const Json& added = member(member(params, "event"), "added");
    if (added.is_array())
      for (const Json& f : added)
        if (const auto path = uriToPath(stringMember(f, "uri"))) workspace_.addFolder(*path, log_);
    return;
  }
  // Other notifications ($/setTrace, ...) need no answer.
}

void Server::idle(const std::function<bool()>& stale) {
  if (!workspace_.dirty()) return;
  for (const std::string& params : workspace_.recheck(stale))
    sendText_(R"({"jsonrpc":"2.0","method":"textDocument/publishDiagnostics","params":)" + params + "}");
}

int runStdio(std::istream& in, std::ostream& out, std::ostream& log, const std::filesystem::path& exeDir) {
  std::mutex mutex;
  std::condition_variable ready;
  std::deque<std::string> queue;
  bool ended = false;
  // The reader runs ahead of the checks, so that a check whose document has changed
  // again meanwhile can be dropped, and cancellations are seen before their request.
  std::thread reader([&] {
    FrameReader frames(in);
    std::string body, problem;
    for (;;) {
      const bool more = frames.next(body, problem);
      std::lock_guard lock(mutex);
      if (!more) {
        ended = true;
        ready.notify_one();
        return;
      }
      if (!problem.empty()) queue.push_back("\x01" + problem);  // not JSON: a transport note
      if (!body.empty()) queue.push_back(std::move(body));
      ready.notify_one();
    }
  });
  reader.detach();  // blocked in a read once the session ends; the process ends it

  Server server([&](const std::string& body) { writeFrame(out, body); }, log, exeDir);
  auto pending = [&] {
    std::lock_guard lock(mutex);
    return !queue.empty();
  };
  for (;;) {
    std::deque<std::string> batch;
    {
      std::unique_lock lock(mutex);
      ready.wait(lock, [&] { return !queue.empty() || ended || server.dirty(); });
      if (queue.empty() && ended) break;
      batch.swap(queue);
    }
    if (batch.empty()) {
      server.idle(pending);
      continue;
    }
    // Cancellations first: a request still waiting here is answered as cancelled.
    for (const std::string& body : batch) {
      if (body.find("$/cancelRequest") == std::string::npos) continue;
      Json m = Json::parse(body, nullptr, false);
      if (!m.is_discarded() && m.is_object() && m.value("method", "") == "$/cancelRequest")
        if (const Json& id = member(member(m, "params"), "id"); id.is_string() || id.is_number_integer())
          server.cancel(id);
    }
    for (const std::string& body : batch) {
      if (!body.empty() && body[0] == '\x01') {
        log << "quenlit lsp: " << body.substr(1) << "\n";
        continue;
      }
      server.handle(body);
      if (server.exited()) return server.exitCode();
    }
  }
  log << "quenlit lsp: the input ended without an exit notification\n";
  return server.exitCode();
}

}  // namespace quenlit::lsp
