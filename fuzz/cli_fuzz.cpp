// Every quenlit command on any file content: the command-line path end to end.
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

#include "Cli.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::filesystem::path file =
      std::filesystem::temp_directory_path() / ("quenlit-fuzz-" + std::to_string(getpid()) + ".lsp");
  {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), std::streamsize(size));
  }
  static const std::vector<std::vector<std::string>> commands = {
      {"outline"}, {"vars"}, {"parens"}, {"funcs"}, {"catalog"}, {"describe", "", "1"}, {"copy", "", "1"},
      {"search", "a -b \"c d\""}, {"check", "--format", "sarif", "--jobs", "1"},
  };
  for (auto args : commands) {
    // The file goes where the command expects it: after the command name or its text argument.
    if (args.size() == 3) args[1] = file.string();
    else args.push_back(file.string());
    std::ostringstream out, err;
    (void)quenlit::cli::run(args, out, err, std::filesystem::path("/nonexistent-quenlit-data"));
  }
  return 0;
}
