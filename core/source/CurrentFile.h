// The file the window works on: its lines (LspSL), its full name (LspFullName)
// and its name (LspFileName), which Edit1 shows. The names and Edit1 change
// together, and only once a file has been read.
#pragma once

#include "source/SourceFile.h"
#include "source/SourceView.h"

namespace quenlit {

class CurrentFile {
 public:
  explicit CurrentFile(SourceView& view) : view_(view) {}

  const SourceLines& source() const { return source_; }
  SourceLines& source() { return source_; }
  const TextList& lines() const { return source_.lines; }
  const Text& fullName() const { return fullName_; }
  const Text& fileName() const { return fileName_; }

  // Reads `path` into the lines (on failure they keep what they held) and shows
  // the encoding in Label1; the paint pump runs once the file is read.
  LoadOutcome read(TextView path, const std::function<void()>& processMessages);
  // The full name, the name and Edit1, together.
  void rename(TextView fullName);

 private:
  SourceView& view_;
  SourceLines source_;
  Text fullName_, fileName_;
};

}  // namespace quenlit
