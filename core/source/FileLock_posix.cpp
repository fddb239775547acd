#include <fstream>

#include "source/SourceFile.h"

namespace quenlit {

// No share modes here: a file we may not open for reading and writing counts as held.
bool isFileLocked(const std::filesystem::path& path) {
  std::error_code ec;
  if (!std::filesystem::exists(path, ec)) return false;
  std::fstream f(path, std::ios::in | std::ios::out | std::ios::binary);
  return !f.is_open();
}

}  // namespace quenlit
