// The result pane as the reports see it: a list of text lines. The window's
// multi-line edit implements it; tests and the command line use MemoryPane.
// The checks and the reports write into it; both sit above this folder.
#pragma once

#include "text/Text.h"

namespace quenlit {

class ResultPane {
 public:
  virtual ~ResultPane() = default;
  virtual size_t lineCount() const = 0;
  virtual Text line(size_t index) const = 0;
  virtual void insertLine(size_t index, TextView text) = 0;  // index == lineCount() appends
  virtual void removeLine(size_t index) = 0;
  virtual void clear() = 0;
  // Redrawing is suspended between these; reports bracket their writes with them.
  virtual void beginUpdate() {}
  virtual void endUpdate() {}

  void addLine(TextView text) { insertLine(lineCount(), text); }
  TextList lines() const {
    TextList all;
    for (size_t i = 0; i < lineCount(); ++i) all.push_back(line(i));
    return all;
  }
};

// Suspends a pane's redrawing for a scope.
class PaneUpdate {
 public:
  explicit PaneUpdate(ResultPane& pane) : pane_(pane) { pane_.beginUpdate(); }
  ~PaneUpdate() { pane_.endUpdate(); }
  PaneUpdate(const PaneUpdate&) = delete;
  PaneUpdate& operator=(const PaneUpdate&) = delete;

 private:
  ResultPane& pane_;
};

// The line number field of a pane line that points at a source line: the 1-based
// number right-aligned in five characters (longer numbers in full) and "|".
Text lineNumberField(long long lineNo);

class MemoryPane final : public ResultPane {
 public:
  size_t lineCount() const override { return lines_.size(); }
  Text line(size_t index) const override { return index < lines_.size() ? lines_[index] : Text(); }
  void insertLine(size_t index, TextView text) override {
    if (index > lines_.size()) index = lines_.size();
    lines_.insert(lines_.begin() + long(index), Text(text));
  }
  void removeLine(size_t index) override {
    if (index < lines_.size()) lines_.erase(lines_.begin() + long(index));
  }
  void clear() override { lines_.clear(); }
  const TextList& all() const { return lines_; }

 private:
  TextList lines_;
};

}  // namespace quenlit
