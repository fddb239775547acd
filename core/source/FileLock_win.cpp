#include <windows.h>

#include "source/SourceFile.h"

namespace quenlit {

bool isFileLocked(const std::filesystem::path& path) {
  if (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) return false;
  HANDLE h = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return true;
  CloseHandle(h);
  return false;
}

}  // namespace quenlit
