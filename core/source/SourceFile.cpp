#include "source/SourceFile.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <system_error>

namespace quenlit {

namespace fs = std::filesystem;

bool readFileBytes(const fs::path& path, std::string& bytes, FileError& error) {
  std::error_code ec;
  auto st = fs::status(path, ec);
  if (ec) {
    error.reason = ec.message();
    return false;
  }
  if (fs::is_directory(st)) {
    error.reason = std::make_error_code(std::errc::is_a_directory).message();
    return false;
  }
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    error.reason = errno ? std::generic_category().message(errno)
                         : std::make_error_code(std::errc::permission_denied).message();
    return false;
  }
  std::string data;
  const auto size = fs::file_size(path, ec);
  if (!ec && size > 0) data.reserve(size_t(size));
  char buf[1 << 16];
  while (in.read(buf, sizeof buf) || in.gcount() > 0) data.append(buf, size_t(in.gcount()));
  if (in.bad()) {
    error.reason = std::make_error_code(std::errc::io_error).message();
    return false;
  }
  bytes = std::move(data);
  return true;
}

LoadOutcome loadLspFile(const fs::path& path, SourceLines& lspSL, const std::function<void()>& processMessages,
                        unsigned codePage) {
  if (codePage == 0) codePage = ansiCodePage();
  LoadOutcome outcome;
  std::string bytes;
  // The file is read again for the ANSI attempt, as a second read of a file that
  // vanished or is held by another program must fail the same way.
  for (Encoding fallback : {Encoding::Utf8, Encoding::Ansi}) {
    outcome.label = fallback == Encoding::Utf8 ? u"UTF8" : u"ANSI";
    if (!readFileBytes(path, bytes, outcome.error)) continue;
    auto decoded = decodeBytes(bytes, fallback, codePage);
    if (!decoded) continue;
    lspSL.lines = splitLines(decoded->text);
    lspSL.encoding = decoded->encoding;
    lspSL.codePage = codePage;
    if (processMessages) processMessages();
    outcome.ok = true;
    outcome.error = {};
    return outcome;
  }
  return outcome;
}

Text fileNamePart(TextView fullName) {
  auto p = fullName.find_last_of(u"\\/");
  return Text(p == TextView::npos ? fullName : fullName.substr(p + 1));
}

bool writeFileAtomically(const fs::path& path, std::string_view bytes, FileError& error) {
  fs::path tmp = path;
  tmp += ".quenlit-tmp";
  {
    std::ofstream out(tmp, std::ios::binary | std::ios::trunc);
    if (!out) {
      error.reason = errno ? std::generic_category().message(errno)
                           : std::make_error_code(std::errc::permission_denied).message();
      return false;
    }
    out.write(bytes.data(), std::streamsize(bytes.size()));
    out.flush();
    if (!out) {
      error.reason = std::make_error_code(std::errc::io_error).message();
      out.close();
      std::error_code ignored;
      fs::remove(tmp, ignored);
      return false;
    }
  }
  std::error_code ec;
  // The replacement keeps the permissions of the file it replaces (a private file
  // stays private). A read-only file is refused as an in-place write would be:
  // a rename alone would replace it where the folder allows.
  if (auto st = fs::status(path, ec); !ec && fs::is_regular_file(st)) {
    if ((st.permissions() & (fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write)) ==
        fs::perms::none) {
      error.reason = std::make_error_code(std::errc::permission_denied).message();
      std::error_code ignored;
      fs::remove(tmp, ignored);
      return false;
    }
    fs::permissions(tmp, st.permissions(), ec);
  }
  ec.clear();
  fs::rename(tmp, path, ec);
  if (ec) {
    error.reason = ec.message();
    std::error_code ignored;
    fs::remove(tmp, ignored);
    return false;
  }
  return true;
}

}  // namespace quenlit
