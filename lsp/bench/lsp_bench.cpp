// Drives `quenlit lsp` over pipes, as an editor does, and prints figures: the time
// from a one-character edit of a ~370 KB file to its new diagnostics, hover and
// definition times, initialize to the first diagnostics on a 360-file workspace,
// and the server's peak memory on 1,500 files. Linux only; figures, no verdicts.
// usage: quenlit_lsp_bench [QUENLIT]   (default: quenlit beside this program)
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "Bench.h"

extern char** environ;

namespace {

using Json = nlohmann::json;
using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;

double ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

class Session {
 public:
  Session(const std::string& quenlit) {
    int in[2], out[2];
    if (pipe(in) != 0 || pipe(out) != 0) throw std::runtime_error("pipe");
    posix_spawn_file_actions_t fa;
    posix_spawn_file_actions_init(&fa);
    posix_spawn_file_actions_adddup2(&fa, in[0], 0);
    posix_spawn_file_actions_adddup2(&fa, out[1], 1);
    if (!getenv("QUENLIT_BENCH_LOG")) posix_spawn_file_actions_addopen(&fa, 2, "/dev/null", 1, 0);
    posix_spawn_file_actions_addclose(&fa, in[1]);
    posix_spawn_file_actions_addclose(&fa, out[0]);
    char* argv[] = {const_cast<char*>(quenlit.c_str()), const_cast<char*>("lsp"), nullptr};
    if (posix_spawn(&pid_, quenlit.c_str(), &fa, nullptr, argv, environ) != 0) throw std::runtime_error("spawn");
    close(in[0]);
    close(out[1]);
    to_ = in[1];
    from_ = out[0];
  }
  ~Session() {
    close(to_);
    close(from_);
    kill(pid_, SIGTERM);
    waitpid(pid_, nullptr, 0);
  }
  pid_t pid() const { return pid_; }

  void send(const Json& m) {
    const std::string body = m.dump();
    const std::string frame = "Content-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body;
    for (size_t done = 0; done < frame.size();) {
      const ssize_t n = write(to_, frame.data() + done, frame.size() - done);
      if (n <= 0) throw std::runtime_error("write");
      done += size_t(n);
    }
  }
  void notify(const std::string& method, Json params) { send({{"jsonrpc", "2.0"}, {"method", method}, {"params", params}}); }
  Json request(const std::string& method, Json params) {
    const int id = ++id_;
    send({{"jsonrpc", "2.0"}, {"id", id}, {"method", method}, {"params", params}});
    return until([&](const Json& m) { return m.value("id", -1) == id; });
  }
  template <class Pred>
  Json until(Pred pred) {
    for (;;) {
      Json m = next();
      if (pred(m)) return m;
    }
  }
  Json next() {
    for (;;) {
      const size_t header = buf_.find("\r\n\r\n");
      if (header != std::string::npos) {
        const size_t length = std::stoul(buf_.substr(buf_.find(':') + 1, header));
        if (buf_.size() >= header + 4 + length) {
          arrived_ = Clock::now();
          Json m = Json::parse(buf_.substr(header + 4, length), nullptr, false);
          if (m.is_discarded()) throw std::runtime_error("not JSON: " + buf_.substr(0, std::min<size_t>(200, buf_.size())));
          buf_.erase(0, header + 4 + length);
          return m;
        }
      }
      char chunk[65536];
      const ssize_t n = read(from_, chunk, sizeof chunk);
      if (n <= 0) throw std::runtime_error("the server closed its output");
      buf_.append(chunk, size_t(n));
    }
  }

 private:
  pid_t pid_ = 0;
  int to_ = -1, from_ = -1, id_ = 0;
  std::string buf_;

 public:
  Clock::time_point arrived_;  // when the last message was complete, before it was parsed
};

Json initParams(const fs::path& folder) {
  return {{"processId", nullptr},
          {"rootUri", nullptr},
          {"capabilities", Json::object()},
          {"workspaceFolders", Json::array({{{"uri", "file://" + folder.string()}, {"name", "bench"}}})}};
}

void percentiles(const char* what, std::vector<double> v) {
  std::sort(v.begin(), v.end());
  std::printf("%-44s median %7.2f ms   90th percentile %7.2f ms   (%zu runs)\n", what, v[v.size() / 2],
              v[std::min(v.size() - 1, v.size() * 9 / 10)], v.size());
}

long peakKb(pid_t pid) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  std::string line;
  while (std::getline(status, line))
    if (line.rfind("VmHWM:", 0) == 0) return std::stol(line.substr(6));
  return -1;
}

fs::path workspace(const fs::path& base, int files, size_t bytesEach) {
  const fs::path dir = base / ("ws" + std::to_string(files));
  fs::create_directories(dir);
  for (int i = 0; i < files; ++i) {
    std::ofstream f(dir / ("file" + std::to_string(i) + ".lsp"), std::ios::binary);
    // Each file its own function names, as in a real workspace: the generator names
    // them alike in every file, and 1,500 definitions of one name are no workspace.
    std::string text = quenlit::bench::generateLisp(bytesEach, unsigned(i + 1));
    const std::string prefix = "f" + std::to_string(i);
    for (const char* name : {"util-", "c:cmd"})
      for (size_t at = text.find(name); at != std::string::npos; at = text.find(name, at + prefix.size() + 5))
        text.insert(name[0] == 'c' ? at + 2 : at, prefix);
    f << text;
  }
  return dir;
}

// The time to the first diagnostics after initialize, and the peak memory once
// every file has been checked.
void workspaceFigures(const std::string& quenlit, const fs::path& dir, int files) {
  Session s(quenlit);
  const auto t0 = Clock::now();
  s.request("initialize", initParams(dir));
  s.notify("initialized", Json::object());
  s.until([](const Json& m) { return m.value("method", "") == "textDocument/publishDiagnostics"; });
  const auto t1 = Clock::now();
  // All files are published together: hover waits behind them.
  s.request("shutdown", nullptr);
  std::printf("%-44s %7.1f ms; server peak memory %ld MB\n",
              ("initialize to first diagnostics, " + std::to_string(files) + " files").c_str(), ms(t1 - t0),
              peakKb(s.pid()) / 1024);
}

}  // namespace

int run(int argc, char** argv);
int main(int argc, char** argv) {
  try {
    return run(argc, argv);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "quenlit_lsp_bench: %s\n", e.what());
    return 1;
  }
}

int run(int argc, char** argv) {
  const std::string quenlit = argc > 1 ? argv[1] : (fs::canonical("/proc/self/exe").parent_path() / "quenlit").string();
  const fs::path base = fs::temp_directory_path() / ("quenlit-lsp-bench-" + std::to_string(getpid()));
  fs::create_directories(base);

  {
    const std::string text = quenlit::bench::generateLisp(370 * 1024);
    const fs::path dir = base / "one";
    fs::create_directories(dir);
    Session s(quenlit);
    s.request("initialize", initParams(dir));
    s.notify("initialized", Json::object());
    const std::string uri = "file://" + (dir / "big.lsp").string();
    s.notify("textDocument/didOpen", {{"textDocument", {{"uri", uri}, {"languageId", "autolisp"}, {"version", 1}, {"text", text}}}});
    auto diagnosticsOf = [&](int version) {
      return s.until([&](const Json& m) {
        return m.value("method", "") == "textDocument/publishDiagnostics" && m["params"].value("version", -1) == version;
      });
    };
    const size_t findings = diagnosticsOf(1)["params"]["diagnostics"].size();
    std::vector<double> edits;
    for (int v = 2; v < 62; ++v) {
      // Type a character into the first line, then take it away again.
      Json change = v % 2 == 0 ? Json{{"range", {{"start", {{"line", 0}, {"character", 0}}}, {"end", {{"line", 0}, {"character", 0}}}}}, {"text", " "}}
                               : Json{{"range", {{"start", {{"line", 0}, {"character", 0}}}, {"end", {{"line", 0}, {"character", 1}}}}}, {"text", ""}};
      const auto t0 = Clock::now();
      s.notify("textDocument/didChange", {{"textDocument", {{"uri", uri}, {"version", v}}}, {"contentChanges", Json::array({change})}});
      diagnosticsOf(v);
      edits.push_back(ms(s.arrived_ - t0));
    }
    std::printf("370 KB file: %zu bytes, %zu findings\n", text.size(), findings);
    percentiles("one-character edit to new diagnostics (received)", edits);
    // A call of a user function: the last "(defun NAME" and a later line naming it.
    const size_t def = text.find("(defun ");
    const size_t nameEnd = text.find_first_of(" (", def + 7);
    const std::string name = text.substr(def + 7, nameEnd - def - 7);
    const size_t line = size_t(std::count(text.begin(), text.begin() + long(def), '\n'));
    const size_t column = def - (text.rfind('\n', def) == std::string::npos ? 0 : text.rfind('\n', def) + 1) + 7;
    const Json at = {{"textDocument", {{"uri", uri}}}, {"position", {{"line", line}, {"character", column}}}};
    std::vector<double> hovers, definitions;
    for (int k = 0; k < 30; ++k) {
      auto t0 = Clock::now();
      const Json h = s.request("textDocument/hover", at);
      hovers.push_back(ms(Clock::now() - t0));
      t0 = Clock::now();
      const Json d = s.request("textDocument/definition", at);
      definitions.push_back(ms(Clock::now() - t0));
      if (k == 0 && (h["result"].is_null() || d["result"].is_null()))
        std::printf("(no hover or definition found for %s)\n", name.c_str());
    }
    percentiles(("hover on " + name).c_str(), hovers);
    percentiles(("definition of " + name).c_str(), definitions);
    s.request("shutdown", nullptr);
  }
  workspaceFigures(quenlit, workspace(base, 360, 6 * 1024), 360);
  workspaceFigures(quenlit, workspace(base, 1500, 4 * 1024), 1500);
  fs::remove_all(base);
  return 0;
}
