#include <iostream>

#include "Cli.h"

#ifdef _WIN32
#include <algorithm>
#include <optional>
#include <streambuf>

#include <fcntl.h>
#include <io.h>
#include <windows.h>

namespace {

// Output for a console goes to it as UTF-16 (WriteConsoleW), so that Japanese
// reads right whatever the console's code page (932 in a Japanese cmd). A pipe
// or a file gets the UTF-8 bytes unchanged.
class ConsoleBuffer final : public std::streambuf {
 public:
  explicit ConsoleBuffer(HANDLE console) : console_(console) {}
  ~ConsoleBuffer() override { write(pending_.size()); }

 protected:
  int_type overflow(int_type c) override {
    if (c == traits_type::eof()) return traits_type::not_eof(c);
    pending_ += char(c);
    if (c == '\n') sync();
    return c;
  }
  std::streamsize xsputn(const char* s, std::streamsize n) override {
    pending_.append(s, size_t(n));
    if (pending_.size() >= 8192) sync();
    return n;
  }
  // Writes what is complete; a character cut between two writes waits for its rest.
  int sync() override {
    size_t end = pending_.size();
    for (size_t back = 1; back <= 3 && back <= pending_.size(); ++back) {
      const unsigned char b = pending_[pending_.size() - back];
      if ((b & 0xC0) == 0x80) continue;
      const size_t need = b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : b >= 0xC0 ? 2 : 1;
      if (need > back) end = pending_.size() - back;
      break;
    }
    return write(end);
  }

 private:
  int write(size_t end) {
    const quenlit::Text text = quenlit::fromUtf8Lenient(std::string_view(pending_).substr(0, end));
    pending_.erase(0, end);
    for (size_t at = 0; at < text.size();) {
      DWORD written = 0;
      const DWORD n = DWORD(std::min<size_t>(text.size() - at, 16384));
      if (!WriteConsoleW(console_, text.data() + at, n, &written, nullptr) || written == 0) return -1;
      at += written;
    }
    return 0;
  }

  HANDLE console_;
  std::string pending_;
};

bool isConsole(HANDLE h) {
  DWORD mode = 0;
  return h != INVALID_HANDLE_VALUE && h != nullptr && GetConsoleMode(h, &mode);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  // Bytes out exactly as written: UTF-8 with LF, no CR added.
  _setmode(_fileno(stdin), _O_BINARY);  // the language server reads byte counts
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
  const HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE), err = GetStdHandle(STD_ERROR_HANDLE);
  std::optional<ConsoleBuffer> outConsole, errConsole;
  std::streambuf* const outBytes = std::cout.rdbuf();
  std::streambuf* const errBytes = std::cerr.rdbuf();
  if (isConsole(out)) std::cout.rdbuf(&outConsole.emplace(out));
  if (isConsole(err)) std::cerr.rdbuf(&errConsole.emplace(err));
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) {
    std::wstring w(argv[i]);
    args.push_back(quenlit::toUtf8(quenlit::Text(w.begin(), w.end())));
  }
  wchar_t exe[MAX_PATH * 4];
  DWORD n = GetModuleFileNameW(nullptr, exe, DWORD(std::size(exe)));
  std::filesystem::path exeDir = std::filesystem::path(std::wstring(exe, n)).parent_path();
  int rc = quenlit::cli::run(args, std::cout, std::cerr, exeDir);
  std::cout.flush();
  std::cerr.flush();
  // The streams outlive this function; the console buffers do not.
  std::cout.rdbuf(outBytes);
  std::cerr.rdbuf(errBytes);
  return rc;
}
#else
#include <unistd.h>

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  std::error_code ec;
  std::filesystem::path exeDir = std::filesystem::read_symlink("/proc/self/exe", ec).parent_path();
  if (ec) exeDir = std::filesystem::absolute(argv[0]).parent_path();
  int rc = quenlit::cli::run(args, std::cout, std::cerr, exeDir);
  std::cout.flush();
  return rc;
}
#endif
