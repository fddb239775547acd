// How long the window takes to load a file and to reload-and-check it, beside
// the command line tool on the same file. Prints figures; the only assertions
// are that the window shows what the command line prints.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <set>
#include <thread>

#include "Driver.h"
#include "win32/base/Ids.h"

using namespace quenlit::e2e;
namespace win = quenlit::win;

namespace {

using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point t) { return std::chrono::duration<double, std::milli>(Clock::now() - t).count(); }

// 600 functions with two nested definitions each: about 10,000 lines.
std::string nestedFunctions() {
  std::string s;
  for (int i = 0; i < 600; ++i) {
    const std::string n = std::to_string(i);
    s += ";;; function " + n + "\r\n(defun f" + n + " (a b / c d)\r\n  (defun g" + n + " (x) (* x 2))\r\n";
    s += "  (defun h" + n + " (y / z)\r\n    (setq z (g" + n + " y))\r\n    z)\r\n";
    s += "  (setq c (h" + n + " a))\r\n  (setq d (+ c b))\r\n  (princ \"done\")\r\n";
    s += "  (if (> d 0)\r\n    (progn (setq e d) e)\r\n    nil)\r\n  d)\r\n\r\n";
  }
  return s;
}

// The real files end to end until the text passes 5 MB.
std::string corpusTimesN() {
  std::string all;
  const auto corpus = projectRoot().parent_path() / "shared" / "corpus";
  std::error_code ec;
  if (!std::filesystem::is_directory(corpus, ec)) return all;
  std::vector<std::filesystem::path> files;
  for (auto& e : std::filesystem::recursive_directory_iterator(corpus))
    if (e.is_regular_file() && e.path().extension() == ".lsp") files.push_back(e.path());
  std::sort(files.begin(), files.end());
  std::string once;
  for (const auto& f : files) {
    Scratch::readInto(f, once);
    once += "\r\n";
  }
  while (!once.empty() && all.size() < 5'000'000) all += once;
  return all;
}

// Watches the progress bar on the screen (what the user sees, not what the
// program set) while a load runs: how many looks found it part-filled.
class BarWatch {
 public:
  explicit BarWatch(HWND bar) {
    GetWindowRect(bar, &r_);
    thread_ = std::thread([this] {
      HDC screen = GetDC(nullptr);
      while (!stop_) {
        int filled = 0;
        for (int k = 1; k <= kPoints; ++k) {
          const COLORREF c = GetPixel(screen, r_.left + (r_.right - r_.left) * k / (kPoints + 1), (r_.top + r_.bottom) / 2);
          if (GetBValue(c) > 0xA0 && GetRValue(c) < 0x80) ++filled;  // the bar's blue, not the dark ground
        }
        ++looks_;
        if (filled > 0 && filled < kPoints) ++partFilled_;
        levels_.insert(filled);
        Sleep(5);
      }
      ReleaseDC(nullptr, screen);
    });
  }
  ~BarWatch() { stop(); }
  void stop() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
  }
  int looks() const { return looks_; }
  int partFilled() const { return partFilled_; }
  size_t levels() const { return levels_.size(); }

 private:
  static constexpr int kPoints = 9;
  RECT r_{};
  std::atomic<bool> stop_{false};
  std::atomic<int> looks_{0}, partFilled_{0};
  std::set<int> levels_;
  std::thread thread_;
};

struct Figures {
  double open = 0, check = 0, cli = 0;
};

Figures measure(const std::string& name, const std::string& bytes) {
  Figures f;
  Scratch s;
  s.write(name, bytes);
  const std::wstring path = s.file(name).wstring();
  App app(s);
  EXPECT_TRUE(app.started());
  if (!app.started()) return f;
  BarWatch bar(app.control(win::kIdProgressBar1));
  auto t = Clock::now();
  app.drop({s.file(name)});
  EXPECT_TRUE(waitFor([&] { return app.text(win::kIdEdit1) == fromUtf8(name) && !app.pane().empty(); }, 120s));
  f.open = msSince(t);
  bar.stop();
  std::printf("[ figures ] %-22s progress bar seen part-filled in %d of %d looks, %zu fill levels\n", name.c_str(),
              bar.partFilled(), bar.looks(), bar.levels());
  // A load this long must show the bar moving on the screen, not only set.
  if (f.open > 1000) {
    EXPECT_GT(bar.partFilled(), 0) << name;
  }
  t = Clock::now();
  app.click(win::kIdButton4);  // "変数✔": reload, rebuild, variable check; returns when the handler does
  f.check = msSince(t);
  t = Clock::now();
  const CliRun cli = runCli({L"vars", path});
  f.cli = msSince(t);
  EXPECT_EQ(app.pane(), cli.lines) << name;
  std::printf("[ figures ] %-22s %9zu bytes  open %7.0f ms  reload+check %7.0f ms  quenlit.exe vars %6.0f ms  "
              "ratio %.1f\n",
              name.c_str(), bytes.size(), f.open, f.check, f.cli, f.check / f.cli);
  return f;
}

}  // namespace

TEST(Speed, ReloadAndCheckBesideTheCommandLine) {
  measure("nested-10k-lines.lsp", nestedFunctions());
  const std::string big = corpusTimesN();
  if (big.empty()) GTEST_SKIP() << "SKIPPED the 5 MB figure: no corpus in ../shared/corpus";
  measure("corpus-5mb.lsp", big);
}
