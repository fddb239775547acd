// Prints, for each analysis, its speed on generated inputs of 1x..16x a base size
// and on the corpus, its ratio to the load time of the same input, and how its
// time scales from 1x to 16x.
#include <malloc.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>
#include <tuple>

#include "Bench.h"
#include "Cli.h"
#include "source/CodeLines.h"
#include "source/DefunTable.h"
#include "source/Outline.h"

namespace quenlit::bench {

int benchLint(size_t base);

std::vector<Entry>& entries() {
  static std::vector<Entry> all;
  return all;
}

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

// The load: decode and split, as every (re)load does.
size_t loadFromBytes(const std::string& bytes, SourceLines& out) {
  auto d = decodeAuto(bytes, 932);
  out.lines = splitLines(d.text);
  out.encoding = d.encoding;
  return out.lines.size();
}

template <class F>
double bestSeconds(F&& f, double budget = 1.0) {
  double best = 1e30, spent = 0;
  int runs = 0;
  while (runs < 5 || (spent < budget && runs < 100)) {
    auto t0 = Clock::now();
    volatile size_t sink = f();
    (void)sink;
    double s = std::chrono::duration<double>(Clock::now() - t0).count();
    best = std::min(best, s);
    spent += s;
    ++runs;
  }
  return best;
}

const Register kCodeAndTable("codelines+table", [](const SourceLines& s) {
  auto code = makeCodeLines(s.lines);
  return makeDefunList(code, true).size();
});

const Register kOutline("outline rows", [](const SourceLines& s) { return makeOutlineRows(s.lines).size(); });

std::string readAll(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::ostringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

// `quenlit check` over whole folders, in-process: the corpus and a generated tree
// of 1,500 files (6 MB), with one job and with every core.
int benchCheckTrees() {
  const fs::path corpus = fs::path(QUENLIT_SOURCE_ROOT).parent_path() / "shared" / "corpus";
  const fs::path tree = fs::temp_directory_path() / "quenlit-bench-tree";
  std::error_code ec;
  fs::remove_all(tree, ec);
  size_t total = 0;
  for (int i = 0; i < 1500; ++i) {
    const fs::path dir = tree / ("lib" + std::to_string(i / 100));
    fs::create_directories(dir);
    const std::string text = generateLisp(4 * 1024, unsigned(i + 1));
    total += text.size();
    std::ofstream(dir / ("file" + std::to_string(i) + ".lsp"), std::ios::binary) << text;
  }
  const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
  std::printf("quenlit check, in-process, output discarded; best of 5\n");
  std::printf("%-34s %6s %8s %10s\n", "tree", "files", "MB", "ms");
  for (const auto& [name, dir, files, bytes] :
       {std::tuple{std::string("corpus"), corpus, size_t(0), size_t(0)}, std::tuple{std::string("generated"), tree, size_t(1500), total}}) {
    if (!fs::is_directory(dir, ec)) continue;
    size_t n = files, b = bytes;
    if (n == 0)
      for (auto& f : fs::recursive_directory_iterator(dir))
        if (f.is_regular_file() && f.path().extension() == ".lsp") ++n, b += f.file_size();
    for (unsigned jobs : {1u, cores}) {
      const double t = bestSeconds(
          [&] {
            std::ostringstream out, err;
            return size_t(cli::run({"check", "--format", "gcc", "--jobs", std::to_string(jobs), dir.string()}, out, err,
                                   fs::path(QUENLIT_SOURCE_ROOT) / "data") +
                          out.str().size());
          },
          0.5);
      std::printf("%-34s %6zu %8.2f %10.1f\n", (name + ", --jobs " + std::to_string(jobs)).c_str(), n,
                  double(b) / 1048576.0, t * 1e3);
    }
  }
  fs::remove_all(tree, ec);
  return 0;
}

}  // namespace
}  // namespace quenlit::bench

int main(int argc, char** argv) {
  using namespace quenlit;
  using namespace quenlit::bench;
  // Keep freed memory in the process between runs: otherwise every run of a big
  // input pays the kernel's page faults again and the table measures the VM, not the
  // analysis. The window keeps its heap warm across reloads the same way.
  mallopt(M_MMAP_THRESHOLD, 32 * 1024 * 1024);
  mallopt(M_TRIM_THRESHOLD, -1);
  mallopt(M_TOP_PAD, 64 * 1024 * 1024);
  size_t base = 640 * 1024;  // 16x is 10 MB
  std::string only;
  bool treesOnly = false;
  for (int i = 1; i < argc; ++i) {
    if (!std::strcmp(argv[i], "--base") && i + 1 < argc) base = size_t(std::atof(argv[++i]) * 1024 * 1024);
    else if (!std::strcmp(argv[i], "--only") && i + 1 < argc) only = argv[++i];
    else if (!std::strcmp(argv[i], "--trees")) treesOnly = true;
    else if (!std::strcmp(argv[i], "--lint")) return benchLint(370 * 1024);
  }
  if (treesOnly) return benchCheckTrees();
  auto& list = entries();
  std::stable_sort(list.begin(), list.end(), [](const Entry& a, const Entry& b) { return a.name < b.name; });

  const int scales[] = {1, 2, 4, 8, 16};
  std::printf("generated input, base %.2f MB\n", double(base) / 1048576.0);
  std::printf("%-18s %6s %10s %10s %9s %8s\n", "report", "scale", "MB", "ms", "MB/s", "xload");
  std::vector<std::vector<double>> times(list.size(), std::vector<double>(5));
  std::vector<double> loadTimes(5);
  for (int si = 0; si < 5; ++si) {
    std::string bytes = generateLisp(base * size_t(scales[si]));
    const double mb = double(bytes.size()) / 1048576.0;
    SourceLines src;
    double load = bestSeconds([&] { return loadFromBytes(bytes, src); });
    loadTimes[si] = load;
    std::printf("%-18s %5dx %10.2f %10.1f %9.1f %8s\n", "load", scales[si], mb, load * 1e3, mb / load, "1.0");
    for (size_t e = 0; e < list.size(); ++e) {
      if (!only.empty() && list[e].name.find(only) == std::string::npos) continue;
      double t = bestSeconds([&] { return list[e].run(src); });
      times[e][si] = t;
      std::printf("%-18s %5dx %10.2f %10.1f %9.1f %8.2f\n", list[e].name.c_str(), scales[si], mb, t * 1e3, mb / t,
                  t / load);
    }
    std::fflush(stdout);
  }
  std::printf("\nscaling 1x -> 16x (time ratio; exponent, 1.0 is linear)\n");
  std::printf("%-18s %8.2f %8.2f\n", "load", loadTimes[4] / loadTimes[0], std::log(loadTimes[4] / loadTimes[0]) / std::log(16.0));
  for (size_t e = 0; e < list.size(); ++e) {
    if (times[e][0] <= 0) continue;
    double r = times[e][4] / times[e][0];
    std::printf("%-18s %8.2f %8.2f\n", list[e].name.c_str(), r, std::log(r) / std::log(16.0));
  }

  // The real files: each one, then the largest alone.
  fs::path corpus = fs::path(QUENLIT_SOURCE_ROOT).parent_path() / "shared" / "corpus";
  std::vector<fs::path> files;
  std::error_code ec;
  if (fs::is_directory(corpus, ec))
    for (auto& f : fs::recursive_directory_iterator(corpus))
      if (f.is_regular_file() && f.path().extension() == ".lsp") files.push_back(f.path());
  if (files.empty()) return 0;
  std::sort(files.begin(), files.end(), [](auto& a, auto& b) { return fs::file_size(a) < fs::file_size(b); });
  std::printf("\ncorpus: %zu files; totals over all files, then the largest (%s)\n", files.size(),
              files.back().filename().string().c_str());
  std::printf("%-18s %10s %9s %8s | %10s %9s %8s\n", "report", "all ms", "MB/s", "xload", "largest ms", "MB/s", "xload");
  std::vector<std::string> bytes;
  std::vector<SourceLines> srcs(files.size());
  double totalMb = 0, loadAll = 0, loadBig = 0;
  for (size_t i = 0; i < files.size(); ++i) {
    bytes.push_back(readAll(files[i]));
    totalMb += double(bytes.back().size()) / 1048576.0;
    double t = bestSeconds([&] { return loadFromBytes(bytes[i], srcs[i]); }, 0.02);
    loadAll += t;
    if (i + 1 == files.size()) loadBig = t;
  }
  const double bigMb = double(bytes.back().size()) / 1048576.0;
  std::printf("%-18s %10.2f %9.1f %8s | %10.2f %9.1f %8s\n", "load", loadAll * 1e3, totalMb / loadAll, "1.0",
              loadBig * 1e3, bigMb / loadBig, "1.0");
  for (auto& e : list) {
    if (!only.empty() && e.name.find(only) == std::string::npos) continue;
    double all = 0, big = 0;
    for (size_t i = 0; i < files.size(); ++i) {
      double t = bestSeconds([&] { return e.run(srcs[i]); }, 0.02);
      all += t;
      if (i + 1 == files.size()) big = t;
    }
    std::printf("%-18s %10.2f %9.1f %8.2f | %10.2f %9.1f %8.2f\n", e.name.c_str(), all * 1e3, totalMb / all,
                all / loadAll, big * 1e3, bigMb / big, big / loadBig);
  }
  return 0;
}
