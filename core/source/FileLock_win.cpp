#include <windows.h>

#include <memory>

#include "source/SourceFile.h"

namespace quenlit {

bool isFileLocked(const std::filesystem::path& path) {
  if (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) return false;
  HANDLE h = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return true;
  // Closed at once: the test is whether it could be opened, not to hold it.
  std::unique_ptr<void, decltype(&CloseHandle)> owner(h, &CloseHandle);
  return false;
}

}  // namespace quenlit
