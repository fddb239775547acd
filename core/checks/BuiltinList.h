// The built-in function names of "AutoLispFuncList.txt" beside the executable.
#pragma once

#include <filesystem>
#include <string>

#include "text/File.h"
#include "text/Text.h"

namespace quenlit {

inline constexpr const char* kBuiltinListFileName = "AutoLispFuncList.txt";

class BuiltinList {
 public:
  BuiltinList() = default;
  explicit BuiltinList(TextList names);
  // Letter case ignored, as every list look-up does.
  bool contains(TextView name) const;
  size_t size() const { return sorted_.size(); }
  bool empty() const { return sorted_.empty(); }

 private:
  TextList sorted_;
};

// One name per line: the text before the first TAB, not trimmed.
BuiltinList parseBuiltinList(TextView text);
BuiltinList parseBuiltinLines(const TextList& lines);

struct BuiltinListFile {
  BuiltinList list;
  bool found = false;   // the file exists
  FileError error;      // why an existing file could not be read; no reason on success
};

// Reads the list with byte-order-mark detection, else the ANSI code page. A missing
// file gives the empty list with `found` false; so does an unreadable one, with
// `error` set.
BuiltinListFile readBuiltinList(const std::filesystem::path& file, unsigned codePage);

// The list beside the executable, in the ANSI code page in force.
BuiltinListFile loadBuiltinList(const std::filesystem::path& exeDir);

}  // namespace quenlit
