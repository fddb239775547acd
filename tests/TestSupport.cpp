#include "TestSupport.h"

#include <algorithm>
#include <fstream>
#include <random>
#include <sstream>

#include "Cli.h"
#include "text/Encoding.h"

namespace quenlit::test {

namespace fs = std::filesystem;

const char* const kBoxLsp =
    "(setq x 1)\n"
    "\n"
    ";; ----------\n"
    ";; draws a box\n"
    "(defun c:box (/ p1 p2)\n"
    "  (setq p1 (getpoint))\n"
    "  (setq p2 (getcorner p1))\n"
    "  (command \"rectang\" p1 p2)\n"
    "  (princ))\n"
    ";; area of a rectangle\n"
    "(defun area (w h / r) (setq r (* w h)))";

fs::path projectRoot() { return fs::path(QUENLIT_TEST_ROOT); }
fs::path fixture(const std::string& name) { return projectRoot() / "tests" / "fixtures" / name; }
fs::path corpusDir() { return projectRoot().parent_path() / "shared" / "corpus"; }

std::vector<fs::path> corpusFiles() {
  std::vector<fs::path> files;
  std::error_code ec;
  if (!fs::is_directory(corpusDir(), ec)) return files;
  for (auto& e : fs::recursive_directory_iterator(corpusDir()))
    if (e.is_regular_file() && e.path().extension() == ".lsp") files.push_back(e.path());
  std::sort(files.begin(), files.end());
  return files;
}

std::string readBytes(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

void writeBytes(const fs::path& p, const std::string& bytes) {
  std::ofstream out(p, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), std::streamsize(bytes.size()));
}

TempDir::TempDir() {
  std::random_device rd;
  path = fs::temp_directory_path() / ("quenlit-test-" + std::to_string(rd()) + std::to_string(rd()));
  fs::create_directories(path);
}

TempDir::~TempDir() {
  std::error_code ec;
  fs::permissions(path, fs::perms::owner_all, fs::perm_options::add, ec);
  fs::remove_all(path, ec);
}

CliResult runCli(const std::vector<std::string>& args, const fs::path& exeDir) {
  std::ostringstream out, err;
  int code = cli::run(args, out, err, exeDir.empty() ? projectRoot() / "data" : exeDir);
  return {code, out.str(), err.str()};
}

TextList lines(std::string_view utf8) {
  TextList result;
  size_t start = 0;
  for (;;) {
    size_t nl = utf8.find('\n', start);
    result.push_back(fromUtf8Lenient(utf8.substr(start, nl == std::string_view::npos ? nl : nl - start)));
    if (nl == std::string_view::npos) break;
    start = nl + 1;
  }
  return result;
}

TextList L(std::initializer_list<const char*> utf8Lines) {
  TextList result;
  for (const char* l : utf8Lines) result.push_back(fromUtf8Lenient(l));
  return result;
}

}  // namespace quenlit::test
