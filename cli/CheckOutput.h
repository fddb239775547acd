// The formats of `quenlit check`: text for people, gcc for editors' problem
// matchers, json, and SARIF 2.1.0 for code-scanning services.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "checks/FileCheck.h"
#include "checks/lint/Lint.h"

namespace quenlit::cli {

struct CheckedFile {
  std::string display;  // UTF-8, "/" between names
  std::string uri;      // relative to the working folder when inside it, else a file: URI
  bool read = false;
  std::string error;    // why it could not be read
  FileCheck result;       // --textual
  lint::FileLint lint;    // the scoped rules
};

void writeText(std::ostream& out, const std::vector<CheckedFile>& files, Lang lang);
// The text format's last line: how many findings in how many files, and what was not read.
void writeSummary(std::ostream& out, bool japanese, size_t n, size_t withFindings, size_t checked, size_t unread);
void writeGcc(std::ostream& out, const std::vector<CheckedFile>& files);
void writeJson(std::ostream& out, const std::vector<CheckedFile>& files);
// `problems`: what could not be read or was skipped, as the tool's notifications.
void writeSarif(std::ostream& out, const std::vector<CheckedFile>& files, const std::vector<std::string>& problems,
                bool successful);

// A URI for a path: percent-encoded, relative to `base` (the working folder) when
// the path lies below it, else an absolute file: URI.
std::string fileUri(const std::filesystem::path& path, const std::filesystem::path& base);

}  // namespace quenlit::cli
