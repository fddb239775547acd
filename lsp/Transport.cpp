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

// Where "Content-Length:" starts in a line, any letter case; npos for none. Not only
// at the start: after a body shorter than announced, its tail stands before the next
// header on the same line, and the next message must still be found.
size_t lengthHeader(const std::string& line) {
  static constexpr std::string_view kName = "content-length:";
  for (size_t at = 0; at + kName.size() <= line.size(); ++at) {
    size_t k = 0;
    while (k < kName.size()) {
      char c = line[at + k];
      if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
      if (c != kName[k]) break;
      ++k;
    }
    if (k == kName.size()) return at;
  }
  return std::string::npos;
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
      if (const size_t at = lengthHeader(line); at != std::string::npos) {
        if (at > 0) problem = "bytes before a message header were skipped";
        badLength = false;
        size_t p = at + 15;
        while (p < line.size() && (line[p] == ' ' || line[p] == '\t')) ++p;
        long long v = -1;
        const auto [end, ec] = std::from_chars(line.data() + p, line.data() + line.size(), v);
        if (ec != std::errc() || end != line.data() + line.size() || v < 0) badLength = true;
        else length = v;
      }
    }
    if (badLength || length < 0) {
      problem = "a message header without a valid Content-Length was skipped";
      body.clear();
      return true;
    }
    if (length == 0) {
      problem = "an empty message was skipped";
      body.clear();
      return true;
    }
    if (size_t(length) > kMaxBody) {
      body.clear();
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
