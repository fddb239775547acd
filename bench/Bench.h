// A plain timing program: every analysis registers one entry, timed on generated
// inputs of growing size and on the real corpus files.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "source/SourceFile.h"

namespace quenlit::bench {

struct Entry {
  std::string name;
  // Runs the analysis on loaded source lines; returns something derived from the
  // result so the work cannot be optimised away.
  std::function<size_t(const SourceLines&)> run;
};

std::vector<Entry>& entries();

struct Register {
  Register(std::string name, std::function<size_t(const SourceLines&)> run) {
    entries().push_back({std::move(name), std::move(run)});
  }
};

// Realistic AutoLISP: commands, functions with nested defuns, locals, comments,
// strings with escapes and Japanese text; about `bytes` long.
std::string generateLisp(size_t bytes, unsigned seed = 1);

}  // namespace quenlit::bench
