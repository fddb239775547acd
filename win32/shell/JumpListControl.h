// ListBox1, the jump list, over a list box: it shows the entries, reports the
// selection and turns a drag with the left button into a drop for the logic.
#pragma once

#include <windows.h>

#include <optional>

#include "shell/JumpList.h"

namespace quenlit::win {

class JumpListControl final : public JumpListBox {
 public:
  void attach(HWND list) { hwnd_ = list; }
  HWND hwnd() const { return hwnd_; }

  void show(const std::vector<JumpEntry>& entries) override;
  std::optional<size_t> selectedIndex() const override;
  void select(std::optional<size_t> index) override;

  // A drag ended on the list: the entries under its start and under its end
  // (none for the empty space below the last entry).
  struct Drop {
    std::optional<size_t> from, to;
  };
  // Follows the list's mouse messages before the list sees them.
  std::optional<Drop> trackMouse(UINT msg, WPARAM wp, LPARAM lp);

 private:
  std::optional<size_t> entryAt(POINT p) const;

  HWND hwnd_ = nullptr;
  POINT startingPoint_{};  // where a mouse button last went down
  bool pressed_ = false;   // the left button is down since then
  bool dragging_ = false;
};

}  // namespace quenlit::win
