// The reader and every scoped rule of one file, as `quenlit check` runs them by
// default, against the load of the same bytes; with --lint: the ratio on a ~370 KB
// file, the scaling to 16x, the peak of the heap per byte of the file, and the
// hostile inputs.
#include <malloc.h>

#include <atomic>
#include <time.h>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <new>

#include "Bench.h"
#include "checks/ExclusionList.h"
#include "checks/lint/Lint.h"

// Live and peak heap bytes of the whole program, for the memory figures.
namespace {
std::atomic<long long> gLive{0}, gPeak{0};
void* counted(size_t n) {
  void* p = std::malloc(n ? n : 1);
  if (!p) throw std::bad_alloc();
  const auto size = static_cast<long long>(malloc_usable_size(p));
  const long long now = gLive.fetch_add(size, std::memory_order_relaxed) + size;
  long long peak = gPeak.load(std::memory_order_relaxed);
  while (now > peak && !gPeak.compare_exchange_weak(peak, now, std::memory_order_relaxed)) {
  }
  return p;
}
void uncounted(void* p) {
  if (!p) return;
  gLive.fetch_sub(static_cast<long long>(malloc_usable_size(p)), std::memory_order_relaxed);
  std::free(p);
}
}  // namespace

void* operator new(size_t n) { return counted(n); }
void* operator new[](size_t n) { return counted(n); }
void operator delete(void* p) noexcept { uncounted(p); }
void operator delete[](void* p) noexcept { uncounted(p); }
void operator delete(void* p, size_t) noexcept { uncounted(p); }
void operator delete[](void* p, size_t) noexcept { uncounted(p); }

namespace quenlit::bench {

namespace {

size_t lintAll(const TextList& lines) {
  static const TextList jogai = mergeJogaiLines(builtinJogaiWords(), {});
  static const BuiltinList builtins;
  static const lint::GlobalNames globals;
  const lint::LintOptions opts{jogai, builtins, globals};
  lint::FileLint f = lint::lintLines(lines, opts);
  lint::lintFinish(std::span(&f, 1), opts);
  return f.findings.size();
}

const Register kLint("lint (all)", [](const SourceLines& s) { return lintAll(s.lines); });

// The thread's own processor time, best of several runs: on a machine shared with
// other work, wall-clock time would measure the neighbours.
double threadSeconds() {
  timespec ts{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
  return double(ts.tv_sec) + double(ts.tv_nsec) * 1e-9;
}

template <class F>
double best(F&& f, int runs = 15) {
  double b = 1e30;
  for (int i = 0; i < runs; ++i) {
    const double t0 = threadSeconds();
    volatile size_t sink = f();
    (void)sink;
    b = std::min(b, threadSeconds() - t0);
  }
  return b;
}

size_t load(const std::string& bytes, SourceLines& out) {
  out.lines = splitLines(decodeAuto(bytes, 932).text);
  return out.lines.size();
}

}  // namespace

int benchLint(size_t base) {
  std::printf("reader + every scoped rule of one file, in-process, against the load (decode and split);\n"
              "processor time of the thread, best of 15\n");
  std::printf("%6s %10s %10s %10s %8s %12s %12s\n", "scale", "KB", "load ms", "lint ms", "xload", "peak/size", "+lines/size");
  double first = 0, firstLoad = 0;
  for (int scale : {1, 2, 4, 8, 16}) {
    const std::string bytes = generateLisp(base * size_t(scale));
    SourceLines src;
    const double tl = best([&] { return load(bytes, src); });
    const double tr = best([&] { return lintAll(src.lines); });
    // The heap's peak above what the loaded lines hold, then with the lines.
    const long long before = gLive.load();
    gPeak.store(before);
    lintAll(src.lines);
    const double peak = double(gPeak.load() - before) / double(bytes.size());
    SourceLines again;
    const long long empty = gLive.load();
    gPeak.store(empty);
    load(bytes, again);
    lintAll(again.lines);
    const double withLines = double(gPeak.load() - empty) / double(bytes.size());
    if (scale == 1) first = tr, firstLoad = tl;
    std::printf("%5dx %10.0f %10.2f %10.2f %8.2f %12.2f %12.2f\n", scale, double(bytes.size()) / 1024.0, tl * 1e3,
                tr * 1e3, tr / tl, peak, withLines);
    if (scale == 16)
      std::printf("16x input: load %.1fx time, lint %.1fx time\n", tl / firstLoad, tr / first);
  }

  std::printf("\nhostile input (load + lint, ms)\n");
  std::string binary(5 << 20, '\0');
  for (size_t i = 0; i < binary.size(); ++i) binary[i] = char((i * 2654435761u) >> 11);
  const std::pair<const char*, std::string> hostile[] = {
      {"5 MB of binary bytes", binary},
      {"5 MB of NUL bytes", std::string(5 << 20, '\0')},
      {"a lone \" at the start of 5 MB", "\"" + std::string(5 << 20, 'x')},
      {"100,000 ( with no )", std::string(100000, '(')},
      {"1,000,000 nested lists", std::string(1000000, '(') + std::string(1000000, ')')},
      {"5 MB with CR-only line ends", [] {
         std::string s;
         while (s.size() < (5u << 20)) s += "(setq a 1)\r";
         return s;
       }()},
      {"5 MB outside the BMP", [] {
         std::string s;
         while (s.size() < (5u << 20)) s += "(setq \xF0\x9F\x98\x80 1) ";
         return s;
       }()},
  };
  for (const auto& [what, bytes] : hostile) {
    size_t findings = 0;
    const double t = best(
        [&] {
          SourceLines s;
          load(bytes, s);
          findings = lintAll(s.lines);
          return findings;
        },
        3);
    std::printf("%-34s %8.1f KB %10.2f ms %8zu findings\n", what, double(bytes.size()) / 1024.0, t * 1e3, findings);
  }
  return 0;
}

}  // namespace quenlit::bench
