// The files that `quenlit check` reads: the files named, and every *.lsp below the
// folders named, in a stable order.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace quenlit::cli {

struct WalkedFile {
  std::filesystem::path path;
  std::string display;  // UTF-8 with "/" between names, starting as the argument was given
};

struct WalkProblem {
  std::string message;  // UTF-8, without "quenlit: "
  bool readError = false;  // a folder or entry could not be read (exit 2); else a warning
};

// Files named directly are taken whatever their extension. Folders are walked
// recursively: each folder's entries in the list collation of their names, every
// file whose name ends in ".lsp" in any letter case taken. Symbolic links are
// followed; a link back to a folder being walked is reported, not followed. A
// file reached twice is taken once.
void walkPaths(const std::vector<std::string>& args, std::vector<WalkedFile>& files,
               std::vector<WalkProblem>& problems);

// The display text of a path: UTF-8, "/" between names.
std::string displayPath(const std::filesystem::path& path);

}  // namespace quenlit::cli
