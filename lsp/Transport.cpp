#include "Transport.h"

#include <charconv>

namespace quenlit::lsp {

namespace {

bool readLine(std::istream& in, std::string& line) {
  line.clear();
  if (!std::getline(in, line)) return false;
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return true;
}

bool startsWithNoCase(const std::string& s, std::string_view prefix) {
  if (s.size() < prefix.size()) return false;
  for (size_t i = 0; i < prefix.size(); ++i) {
    char c = s[i];
    if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    if (c != prefix[i]) return false;
  }
  return true;
}

}  // namespace

bool FrameReader::next(std::string& body, std::string& problem) {
  problem.clear();
  for (;;) {
    std::string line;
    long long length = -1;
    bool sawHeader = false, badLength = false;
    // Header lines up to the empty one; anything before a header (stray bytes after a
    // body shorter than announced) is skipped line by line.
    for (;;) {
      if (!readLine(in_, line)) return false;
      if (line.empty()) {
        if (sawHeader) break;
        continue;
      }
      sawHeader = true;
      if (startsWithNoCase(line, "content-length:")) {
        size_t p = 15;
        while (p < line.size() && (line[p] == ' ' || line[p] == '\t')) ++p;
        long long v = -1;
        const auto [end, ec] = std::from_chars(line.data() + p, line.data() + line.size(), v);
        if (ec != std::errc() || end != line.data() + line.size() || v < 0) badLength = true;
        else length = v;
      }
    }
    if (badLength || length < 0) {
      problem = "a message header without a valid Content-Length was skipped";
      return true;
    }
    if (size_t(length) > kMaxBody) {
      problem = "a message of " + std::to_string(length) + " bytes is beyond the limit and was skipped";
      in_.ignore(length);
      if (!in_) return false;
      return true;
    }
    body.resize(size_t(length));
    in_.read(body.data(), length);
    if (in_.gcount() != length) return false;
    return true;
  }
}

void writeFrame(std::ostream& out, const std::string& body) {
  out << "Content-Length: " << body.size() << "\r\n\r\n" << body;
  out.flush();
}

}  // namespace quenlit::lsp
