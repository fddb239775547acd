#include <algorithm>
#include <atomic>
#include <thread>

#include "CheckOutput.h"
#include "LintOutput.h"
#include "Commands.h"
#include "FileWalk.h"
#include "Lists.h"
#include "checks/FileCheck.h"

namespace quenlit::cli {

namespace {

constexpr const char* kSynopsis =
    "[--format text|gcc|json|sarif] [--exclude FILE] [--builtins LIST] [--globals NAMES] [--textual] [--ansi CP] "
    "[--jobs N] [--across-files] [--lang en|ja] PATH...";

struct Judge {
  const CheckLists& lists;
  const lint::LintOptions& lint;
  bool textual;
};

// Reads and checks one file; nothing here writes to the streams, so the files can
// be checked on several threads and reported in their own order afterwards.
void checkOne(const WalkedFile& walked, const Judge& judge, bool alone, CheckedFile& out) {
  namespace fs = std::filesystem;
  std::error_code ec;
  const fs::file_status st = fs::status(walked.path, ec);
  if (ec) {
    out.error = ec.message();
    return;
  }
  // A pipe or a device named *.lsp would block the read or never end.
  if (!fs::is_regular_file(st)) {
    out.error = fs::is_directory(st) ? "is a folder" : "not a regular file";
    return;
  }
  try {
    SourceLines src;
    const LoadOutcome loaded = loadLspFile(walked.path, src);
    if (!loaded.ok) {
      out.error = loaded.error.reason;
      return;
    }
    if (judge.textual) {
      out.result = checkSource(src.lines, judge.lists);
      if (alone) finishAlone(out.result, judge.lists.lang);
    } else {
      out.lint = lint::lintLines(src.lines, judge.lint);
      out.lint.name = out.display;
      if (alone) lint::lintFinish(std::span(&out.lint, 1), judge.lint);
    }
    out.read = true;
  } catch (const std::bad_alloc&) {
    out.error = "not enough memory";
  }
}

bool parseJobs(const std::string& v, unsigned& jobs) {
  if (v.empty() || v.size() > 4 || !std::all_of(v.begin(), v.end(), [](char c) { return c >= '0' && c <= '9'; }))
    return false;
  jobs = unsigned(std::stoul(v));
  return jobs >= 1 && jobs <= 1024;
}

}  // namespace

int cmdCheck(Context& ctx) {
  Args a;
  const CommandSyntax syntax{"check",
                         kSynopsis,
                         {{"--format", true},
                          {"--exclude", true},
                          {"--builtins", true},
                          {"--jobs", true},
                          {"--across-files", false},
                          {"--globals", true},
                          {"--textual", false},
                          {"--lang", true}},
                         1,
                         size_t(-1)};
  if (!parseArgs(ctx, syntax, a)) return kUsage;
  const std::string format = a.value("--format").value_or("text");
  if (format != "text" && format != "gcc" && format != "json" && format != "sarif")
    return usageError(ctx, "unknown format: " + format + " (text, gcc, json or sarif)");
  const std::string langName = a.value("--lang").value_or("en");
  if (langName != "en" && langName != "ja") return usageError(ctx, "unknown language: " + langName + " (en or ja)");
  unsigned jobs = std::max(1u, std::thread::hardware_concurrency());
  if (auto v = a.value("--jobs"); v && !parseJobs(*v, jobs))
    return usageError(ctx, "--jobs needs a number from 1 to 1024: " + *v);

  JogaiLoad jogai;
  if (!loadExclusionWords(ctx, a, jogai)) return kUsage;
  BuiltinListFile builtins;
  if (!loadBuiltinNames(ctx, a, builtins)) return kUsage;
  const CheckLists lists{jogai.list, builtins.list, langName == "ja" ? Lang::kJapanese : Lang::kEnglish};
  const bool across = a.has("--across-files");
  const bool textual = a.has("--textual");
  TextList globalEntries;
  if (auto g = a.value("--globals")) {
    const Text all = fromUtf8Lenient(*g);
    size_t from = 0;
    while (from <= all.size()) {
      const size_t comma = std::min(all.find(u',', from), all.size());
      Text entry = trim(TextView(all).substr(from, comma - from));
      if (!entry.empty()) globalEntries.push_back(std::move(entry));
      from = comma + 1;
    }
  }
  const lint::GlobalNames globals(globalEntries);
  const lint::LintOptions lintOptions{jogai.list, builtins.list, globals,
                                      langName == "ja" ? lint::LintLang::kJapanese : lint::LintLang::kEnglish};
  const Judge judge{lists, lintOptions, textual};

  std::vector<WalkedFile> walked;
  std::vector<WalkProblem> problems;
  walkPaths(a.positional, walked, problems);

  std::vector<CheckedFile> files(walked.size());
  std::error_code ec;
  const std::filesystem::path cwd = std::filesystem::current_path(ec);
  for (size_t i = 0; i < walked.size(); ++i) {
    files[i].display = walked[i].display;
    files[i].uri = fileUri(walked[i].path, ec ? std::filesystem::path() : cwd);
  }
  // Each worker takes the next file; results land in the file's own slot, so the
  // output does not depend on the number of workers.
  std::atomic<size_t> next{0};
  auto work = [&] {
    for (size_t i = next++; i < walked.size(); i = next++) checkOne(walked[i], judge, !across, files[i]);
  };
  const size_t workers = std::min<size_t>(jobs, walked.size());
  if (workers <= 1) {
    work();
  } else {
    std::vector<std::thread> pool;
    for (size_t k = 0; k < workers; ++k) pool.emplace_back(work);
    for (auto& t : pool) t.join();
  }
  if (across && !textual) {
    std::vector<lint::FileLint> results;
    std::vector<size_t> slot;
    for (size_t i = 0; i < files.size(); ++i)
      if (files[i].read) {
        results.push_back(std::move(files[i].lint));
        slot.push_back(i);
      }
    lint::lintFinish(results, lintOptions);
    for (size_t k = 0; k < slot.size(); ++k) files[slot[k]].lint = std::move(results[k]);
  } else if (across) {
    std::vector<FileCheck> results;
    std::vector<size_t> slot;
    for (size_t i = 0; i < files.size(); ++i)
      if (files[i].read) {
        results.push_back(std::move(files[i].result));
        slot.push_back(i);
      }
    finishTogether(results, lists.lang);
    for (size_t k = 0; k < slot.size(); ++k) files[slot[k]].result = std::move(results[k]);
  }

  bool readError = false;
  std::vector<std::string> notes;
  for (const auto& p : problems) {
    readError = readError || p.readError;
    notes.push_back(p.message);
  }
  for (const auto& f : files)
    if (!f.read) {
      readError = true;
      notes.push_back("cannot read " + f.display + ": " + f.error);
    }
  for (const auto& n : notes) ctx.err << "quenlit: " << n << "\n";

  if (!textual) {
    if (format == "gcc") writeLintGcc(ctx.out, files);
    else if (format == "json") writeLintJson(ctx.out, files);
    else if (format == "sarif") writeLintSarif(ctx.out, files, notes, !readError);
    else writeLintText(ctx.out, files, lintOptions.lang);
    if (readError) return kUsage;
    return lintFailed(files) ? kFailed : kOk;
  }
  if (format == "gcc") writeGcc(ctx.out, files);
  else if (format == "json") writeJson(ctx.out, files);
  else if (format == "sarif") writeSarif(ctx.out, files, notes, !readError);
  else writeText(ctx.out, files, lists.lang);

  if (readError) return kUsage;
  for (const auto& f : files)
    if (!f.result.findings.empty()) return kFailed;
  return kOk;
}

}  // namespace quenlit::cli
