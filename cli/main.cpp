#include <iostream>

#include "Cli.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>

int wmain(int argc, wchar_t** argv) {
  // Bytes out exactly as written: UTF-8 with LF, no CR added.
  _setmode(_fileno(stdin), _O_BINARY);  // the language server reads byte counts
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
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
