#include "FileWalk.h"

#include <algorithm>
#include <set>
#include <system_error>

#include "Cli.h"
#include "text/Text.h"

namespace quenlit::cli {

namespace fs = std::filesystem;

namespace {

std::string utf8(const std::u8string& s) { return std::string(s.begin(), s.end()); }

std::string reason(const std::error_code& ec) { return ec.message(); }

class Walker {
 public:
  Walker(std::vector<WalkedFile>& files, std::vector<WalkProblem>& problems) : files_(files), problems_(problems) {}

  // A file reached twice (named and also inside a named folder, or through a
  // link) is checked once; the first display wins. `key` is its canonical path
  // when the caller knows it, saving the look-up per file of a big folder.
  void add(const fs::path& path, const std::string& display, fs::path key = {}) {
    if (key.empty()) {
      std::error_code ec;
      key = fs::weakly_canonical(path, ec);
      if (ec) key = path.lexically_normal();
    }
    if (seenFiles_.insert(std::move(key)).second) files_.push_back({path, display});
  }

  void walkArgument(const std::string& arg) {
    const fs::path path = pathFromArg(arg);
    std::error_code ec;
    const fs::file_status st = fs::status(path, ec);
    if (fs::is_directory(st)) {
      std::string prefix = displayPath(path);
      while (prefix.size() > 1 && prefix.back() == '/') prefix.pop_back();
      if (prefix == ".") prefix.clear();
      else if (prefix != "/") prefix += '/';
      walkFolder(path, prefix);
      return;
    }
    // Anything else named is read as a file; what cannot be read is reported then.
    add(path, displayPath(path));
  }

 private:
  void walkFolder(const fs::path& dir, const std::string& prefix) {
    std::error_code ec;
    fs::path canonical = fs::canonical(dir, ec);
    if (ec) {
      problems_.push_back({"cannot read " + displayOf(prefix) + ": " + reason(ec), true});
      return;
    }
    if (std::find(ancestors_.begin(), ancestors_.end(), canonical) != ancestors_.end()) {
      problems_.push_back({"warning: skipping " + displayOf(prefix) + ": symbolic link loop", false});
      return;
    }
    // A folder reached again through another link adds nothing new.
    if (!seenFolders_.insert(canonical).second) return;

    struct Entry {
      Text key;
      fs::path path;
      std::string name;
      bool isDir = false, isLink = false;
    };
    std::vector<Entry> entries;
    fs::directory_iterator it(dir, ec);
    if (ec) {
      problems_.push_back({"cannot read " + displayOf(prefix) + ": " + reason(ec), true});
      return;
    }
    for (; it != fs::directory_iterator(); it.increment(ec)) {
      if (ec) break;
      const std::string name = utf8(it->path().filename().u8string());
      std::error_code tec;
      const bool isLink = it->is_symlink(tec);
      const bool isDir = it->is_directory(tec);  // a dangling link is no folder
      entries.push_back({fromUtf8Lenient(name), it->path(), name, isDir, isLink});
    }
    if (ec) problems_.push_back({"cannot read all of " + displayOf(prefix) + ": " + reason(ec), true});
    std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
      const int c = listCompare(a.key, b.key);
      return c != 0 ? c < 0 : a.name < b.name;
    });

    ancestors_.push_back(canonical);
    for (const Entry& e : entries) {
      const std::string display = prefix + e.name;
      if (e.isDir) {
        walkFolder(e.path, display + "/");
      } else if (hasLspExtension(fromUtf8Lenient(utf8(e.path.filename().u8string())))) {
        // Unreadable or vanished entries (a dangling link, a file deleted since the
        // listing) are reported when they are read.
        add(e.path, display, e.isLink ? fs::path() : canonical / e.path.filename());
      }
    }
    ancestors_.pop_back();
  }

  static std::string displayOf(const std::string& prefix) { return prefix.empty() ? "." : prefix; }

  std::vector<WalkedFile>& files_;
  std::vector<WalkProblem>& problems_;
  std::vector<fs::path> ancestors_;
  std::set<fs::path> seenFolders_, seenFiles_;
};

}  // namespace

std::string displayPath(const fs::path& path) { return utf8(path.generic_u8string()); }

void walkPaths(const std::vector<std::string>& args, std::vector<WalkedFile>& files,
               std::vector<WalkProblem>& problems) {
  Walker walker(files, problems);
  for (const std::string& arg : args) walker.walkArgument(arg);
}

}  // namespace quenlit::cli
