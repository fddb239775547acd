#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "text/Text.h"

namespace quenlit::test {

std::filesystem::path projectRoot();
std::filesystem::path fixture(const std::string& name);
std::filesystem::path corpusDir();              // ../shared/corpus beside the checkout
std::vector<std::filesystem::path> corpusFiles();  // every .lsp in it, sorted

// Declares `var` as the corpus files, or skips the test saying where the corpus
// was looked for: a missing corpus must show in the results, not pass quietly.
#define QUENLIT_CORPUS_FILES(var)                                                              \
  const auto var = ::quenlit::test::corpusFiles();                                             \
  if (var.empty())                                                                             \
  GTEST_SKIP() << "SKIPPED: no real AutoLISP files in " << ::quenlit::test::corpusDir().string() \
               << " (the corpus beside the checkout); the tests on real files did not run"

std::string readBytes(const std::filesystem::path& p);
void writeBytes(const std::filesystem::path& p, const std::string& bytes);

// A fresh empty folder under the system's temporary folder, removed by the destructor.
struct TempDir {
  TempDir();
  ~TempDir();
  std::filesystem::path path;
};

// Runs the command line in-process as if the program sat in exeDir (the project's
// data/ folder by default); output as UTF-8 text.
struct CliResult {
  int code;
  std::string out, err;
};
CliResult runCli(const std::vector<std::string>& args, const std::filesystem::path& exeDir = {});

// A small file with a command under a comment block and a one-line function, shared
// by the catalog and copy tests.
extern const char* const kBoxLsp;

// Lines of UTF-8 text given as one string with "\n" between lines.
TextList lines(std::string_view utf8);
TextList L(std::initializer_list<const char*> utf8Lines);  // L({}) is empty, lines("") is one empty line
inline Text T(std::string_view utf8) { return fromUtf8Lenient(utf8); }
inline std::string U8(TextView t) { return toUtf8(t); }

}  // namespace quenlit::test
