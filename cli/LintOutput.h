// The formats of `quenlit check` for the scoped rules: the same four as the
// textual findings, with exact ranges and related places where a format has room.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "CheckOutput.h"

namespace quenlit::cli {

void writeLintText(std::ostream& out, const std::vector<CheckedFile>& files, lint::LintLang lang);
void writeLintGcc(std::ostream& out, const std::vector<CheckedFile>& files);
void writeLintJson(std::ostream& out, const std::vector<CheckedFile>& files);
void writeLintSarif(std::ostream& out, const std::vector<CheckedFile>& files, const std::vector<std::string>& problems,
                    bool successful);

// Whether any finding is a warning or an error (notes alone do not fail a run).
bool lintFailed(const std::vector<CheckedFile>& files);

}  // namespace quenlit::cli
