// TreeView1, the function outline, over the common tree view control. Each item
// carries its row's index, so the logic addresses rows by index.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <vector>

#include "source/SourceView.h"
#include "win32/base/Win.h"

namespace quenlit::win {

inline void destroyImageList(HIMAGELIST h) { ImageList_Destroy(h); }
using ImageList = Unique<HIMAGELIST, destroyImageList>;

class TreeControl final : public OutlineTree {
 public:
  // `progress` advances while a large outline is put into the control.
  void attach(HWND tree, ProgressBar& progress) {
    hwnd_ = tree;
    progress_ = &progress;
  }
  HWND hwnd() const { return hwnd_; }
  // The four 16 × 16 pictures (roots, definitions, unused, nested), at `dpi`.
  void setIcons(UINT dpi);

  void beginUpdate() override { suspendRedraw(hwnd_, depth_); }
  void endUpdate() override { resumeRedraw(hwnd_, depth_); }
  void setRows(const std::vector<OutlineRow>& rows) override;
  std::optional<size_t> selectedIndex() const override;
  std::optional<size_t> topIndex() const override;
  void select(size_t index) override;
  void setTopIndex(size_t index) override;
  void setFocus() override { SetFocus(hwnd_); }

 private:
  std::optional<size_t> indexOf(HTREEITEM item) const;

  HWND hwnd_ = nullptr;
  ImageList icons_;
  ProgressBar* progress_ = nullptr;
  std::vector<HTREEITEM> items_;
  int depth_ = 0;
};

}  // namespace quenlit::win
