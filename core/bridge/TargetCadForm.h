// TTargetCADForm, the target CAD dialog: the list of CAD programs kept in
// "TargetCAD_APIVersion.txt" (name, TAB, programmatic identifier per line), what
// its buttons do to the list and to the file, and the choice OK makes. The
// dialog's controls sit behind TargetCadView.
#pragma once

#include <filesystem>
#include <optional>
#include <utility>

#include "text/File.h"
#include "text/TextFile.h"
#include "text/Titles.h"

namespace quenlit {

inline constexpr TextView kTargetListFileName = u"TargetCAD_APIVersion.txt";
inline constexpr TextView kTargetDialogTitle = u"ターゲット CAD";

// The list file as read: its lines in file order and the encoding to write back.
struct TargetList {
  TextFileContent content;  // ANSI until a file was read
  TextList& lines() { return content.lines; }
};

// Nothing when the file does not exist; `error` tells why an existing one could not be read.
std::optional<TargetList> readTargetList(const std::filesystem::path& file, FileError& error);
// Written whole, in the encoding it was read in; a line the ANSI code page cannot
// hold makes the file UTF-8 rather than turn into question marks.
bool writeTargetList(const std::filesystem::path& file, TargetList& list, FileError& error);

// A line's name (before the first TAB) and identifier (after it); a line without
// a TAB is all identifier.
struct TargetEntry {
  Text name, progId;
};
TargetEntry splitTargetLine(TextView line);

// The caption at start-up: the first line holding a TAB immediately followed by
// `progId` (case-sensitive, anywhere in the line) gives "QuenlitX [ " + the text
// before that TAB + " ]". Nothing when no line has it.
std::optional<Text> startupCaption(const TextList& targetLines, TextView progId);
// The same for the file; nothing when it is missing or unreadable.
std::optional<Text> startupCaptionFromFile(const std::filesystem::path& file, TextView progId);

// What OK chose: the main window's caption and the new identifier.
struct TargetChoice {
  Text caption, progId;
};

class TargetCadView {
 public:
  virtual ~TargetCadView() = default;
  virtual void showItems(const TextList& items) = 0;  // ListBox1, in this order
  virtual std::optional<size_t> selectedIndex() const = 0;
  virtual void select(std::optional<size_t> index) = 0;
  virtual Text edit1() const = 0;
  virtual Text edit2() const = 0;
  virtual void setEdit1(TextView text) = 0;
  virtual void setEdit2(TextView text) = 0;
  virtual void showFileError(TextView path, const FileError& error) = 0;
};

class TargetCadForm {
 public:
  explicit TargetCadForm(std::filesystem::path listFile) : file_(std::move(listFile)) {}

  // The dialog's controls while it shows. They come back as the last showing
  // left them (the list, its selection and the edit texts); FormShow then reads
  // the file again.
  void attach(TargetCadView* view);
  // The dialog closes: what its controls show is kept for the next showing.
  void FormClose();

  void FormShow(TextView progId);
  void ListBox1Click();
  void SpeedButton1Click();  // "追加"
  void SpeedButton2Click();  // "削除"
  void SpeedButton3Click();  // "変更"
  bool EditKeyPress(char16_t key);  // Edit1 and Edit2; true when the key was consumed
  void Button1Click();       // "OK"

  // The choice of the last OK, handed over once.
  std::optional<TargetChoice> takeChoice() { return std::exchange(choice_, std::nullopt); }
  const TextList& items() const { return items_; }

 private:
  void show(std::optional<size_t> selected);
  void save();

  std::filesystem::path file_;
  TargetCadView* view_ = nullptr;
  TextList items_;
  TargetList list_;  // for the encoding of the last read
  std::optional<TargetChoice> choice_;
  struct Shown {
    TextList items;
    std::optional<size_t> selection;
    Text edit1, edit2;
  } shown_;  // as the dialog last closed
};

}  // namespace quenlit
