// Decisions of the load paths that do not touch the window: which dropped file
// is taken, and how the outline's selection and top row survive a reload.
#pragma once

#include <functional>
#include <optional>
#include <vector>

#include "source/Outline.h"
#include "text/Text.h"

namespace quenlit {

// What sets the five ways of loading a file apart; one routine does the rest
// (read, outline, variable check).
struct LoadPath {
  bool rememberInOpenDialog;  // the open dialog starts at the file next time
  bool newFile;      // the path becomes the current file once it has been read
  bool keepOutline;  // the current file again: waits while the editor holds it, keeps the
                     // outline's selection and top row, and does nothing when the file is gone
  bool clearJumpList;
  bool touchHistory;  // makeFileHist afterwards (also when the editor held the file)
};
inline constexpr LoadPath kOpenPath{false, true, false, true, false};     // "Open ..."
inline constexpr LoadPath kDropPath{true, true, false, true, true};       // a file dropped on the window
inline constexpr LoadPath kHistoryPath{false, true, false, false, false}; // "ロード" in "履歴"
inline constexpr LoadPath kStartupPath{true, false, true, false, true};   // the file of the last run
inline constexpr LoadPath kReloadPath{false, false, true, false, true};   // a check, a save, "Reload"

// The first path with the ".lsp" extension that `isLocked` lets through.
std::optional<size_t> pickDroppedFile(const TextList& paths, const std::function<bool(TextView)>& isLocked);

// What reLoad remembers of the outline, as row texts.
struct OutlineMemory {
  std::optional<Text> selectedParent, selectedChild;
  std::optional<Text> topRoot, topLevel1, topLevel2;
};

// `rows` in display order of the fully expanded tree (the order makeOutlineRows
// gives); `selected` and `top` index them.
OutlineMemory rememberOutline(const std::vector<OutlineRow>& rows, std::optional<size_t> selected,
                              std::optional<size_t> top);

struct OutlineRestore {
  std::optional<size_t> select, top;
};

// Walks the new rows in display order up to the row that takes the selection; the
// top row is the last match met before the walk ends. Nothing is restored when no
// selection was remembered or the selected name is gone.
OutlineRestore restoreOutline(const std::vector<OutlineRow>& rows, const OutlineMemory& memory);

}  // namespace quenlit
