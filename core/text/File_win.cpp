#include <windows.h>

#include <utility>

#include "text/File.h"

namespace quenlit {

namespace fs = std::filesystem;

namespace {

class FileHandle {
 public:
  explicit FileHandle(HANDLE h) : h_(h) {}
  ~FileHandle() { close(); }
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  bool ok() const { return h_ != INVALID_HANDLE_VALUE; }
  HANDLE get() const { return h_; }
  bool close() {
    if (!ok()) return true;
    return CloseHandle(std::exchange(h_, INVALID_HANDLE_VALUE)) != 0;
  }

 private:
  HANDLE h_;
};

// The system's wording for an error code, in the user's language.
FileError systemError(DWORD code) {
  FileError e;
  e.code = int(code);
  wchar_t* buf = nullptr;
  const DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                     FORMAT_MESSAGE_IGNORE_INSERTS,
                                 nullptr, code, 0, reinterpret_cast<wchar_t*>(&buf), 0, nullptr);
  std::wstring w = n && buf ? std::wstring(buf, n) : L"error " + std::to_wstring(code);
  if (buf) LocalFree(buf);
  while (!w.empty() && (w.back() == L'\n' || w.back() == L'\r' || w.back() == L' ' || w.back() == L'.'))
    w.pop_back();
  e.reason = toUtf8(Text(w.begin(), w.end()));
  return e;
}

FileError lastError() { return systemError(GetLastError()); }

}  // namespace

bool readFileBytes(const fs::path& path, std::string& bytes, FileError& error) {
  FileHandle f(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                           nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!f.ok()) {
    error = lastError();
    return false;
  }
  LARGE_INTEGER size{};
  std::string data;
  if (GetFileSizeEx(f.get(), &size) && size.QuadPart > 0) data.reserve(size_t(size.QuadPart));
  char buf[1 << 16];
  for (;;) {
    DWORD got = 0;
    if (!ReadFile(f.get(), buf, sizeof buf, &got, nullptr)) {
      error = lastError();
      return false;
    }
    if (got == 0) break;
    data.append(buf, got);
  }
  bytes = std::move(data);
  return true;
}

bool writeFileAtomically(const fs::path& path, std::string_view bytes, FileError& error) {
  const std::wstring target = path.wstring();
  const std::wstring tmp = target + L".quenlit-tmp";
  const DWORD attributes = GetFileAttributesW(target.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES &&
      (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY))) {
    error = systemError(ERROR_ACCESS_DENIED);
    return false;
  }
  {
    FileHandle out(CreateFileW(tmp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!out.ok()) {
      error = lastError();
      return false;
    }
    size_t done = 0;
    while (done < bytes.size()) {
      const DWORD chunk = DWORD(std::min<size_t>(bytes.size() - done, 1u << 30));
      DWORD wrote = 0;
      if (!WriteFile(out.get(), bytes.data() + done, chunk, &wrote, nullptr) || wrote == 0) {
        error = lastError();
        out.close();
        DeleteFileW(tmp.c_str());
        return false;
      }
      done += wrote;
    }
    if (!out.close()) {
      error = lastError();
      DeleteFileW(tmp.c_str());
      return false;
    }
  }
  // The replacement keeps the replaced file's attributes (hidden, say).
  if (attributes != INVALID_FILE_ATTRIBUTES) SetFileAttributesW(tmp.c_str(), attributes);
  const bool replaced =
      MoveFileExW(tmp.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
  if (!replaced) {
    error = lastError();
    DeleteFileW(tmp.c_str());
    return false;
  }
  return true;
}

}  // namespace quenlit
