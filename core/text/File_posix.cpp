#include <cerrno>
#include <fstream>
#include <system_error>

#include "text/File.h"

namespace quenlit {

namespace fs = std::filesystem;

namespace {

FileError fromErrno(int code) { return FileError{std::generic_category().message(code), code}; }
FileError fromErrc(std::errc e) { return fromErrno(int(e)); }

}  // namespace

bool readFileBytes(const fs::path& path, std::string& bytes, FileError& error) {
  std::error_code ec;
  auto st = fs::status(path, ec);
  if (ec) {
    error = FileError{ec.message(), ec.value()};
    return false;
  }
  if (fs::is_directory(st)) {
    error = fromErrc(std::errc::is_a_directory);
    return false;
  }
  errno = 0;
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    error = errno ? fromErrno(errno) : fromErrc(std::errc::permission_denied);
    return false;
  }
  std::string data;
  const auto size = fs::file_size(path, ec);
  if (!ec && size > 0) data.reserve(size_t(size));
  char buf[1 << 16];
  while (in.read(buf, sizeof buf) || in.gcount() > 0) data.append(buf, size_t(in.gcount()));
  if (in.bad()) {
    error = fromErrc(std::errc::io_error);
    return false;
  }
  bytes = std::move(data);
  return true;
}

bool writeFileAtomically(const fs::path& path, std::string_view bytes, FileError& error) {
  fs::path tmp = path;
  tmp += ".quenlit-tmp";
  auto dropTmp = [&] {
    std::error_code ignored;
    fs::remove(tmp, ignored);
  };
  {
    errno = 0;
    std::ofstream out(tmp, std::ios::binary | std::ios::trunc);
    if (!out) {
      error = errno ? fromErrno(errno) : fromErrc(std::errc::permission_denied);
      return false;
    }
    out.write(bytes.data(), std::streamsize(bytes.size()));
    out.flush();
    if (!out) {
      error = errno ? fromErrno(errno) : fromErrc(std::errc::io_error);
      out.close();
      dropTmp();
      return false;
    }
  }
  std::error_code ec;
  // A rename alone would replace a read-only file where the folder allows it.
  if (auto st = fs::status(path, ec); !ec && fs::is_regular_file(st)) {
    if ((st.permissions() & (fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write)) ==
        fs::perms::none) {
      error = fromErrc(std::errc::permission_denied);
      dropTmp();
      return false;
    }
    fs::permissions(tmp, st.permissions(), ec);
  }
  ec.clear();
  fs::rename(tmp, path, ec);
  if (ec) {
    error = FileError{ec.message(), ec.value()};
    dropTmp();
    return false;
  }
  return true;
}

}  // namespace quenlit
