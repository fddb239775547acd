#include "win32/source/TreeControl.h"

#include <algorithm>

#include "win32/base/Theme.h"

namespace quenlit::win {

namespace {

// One picture: a square of `side` pixels (of `size`) centred in a transparent field.
HBITMAP squareBitmap(int size, int side, COLORREF color) {
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = size;
  bi.bmiHeader.biHeight = -size;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bmp = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!bmp) return nullptr;
  auto* px = static_cast<DWORD*>(bits);
  const int from = (size - side) / 2;
  const DWORD argb = 0xFF000000u | (DWORD(GetRValue(color)) << 16) | (DWORD(GetGValue(color)) << 8) | GetBValue(color);
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x)
      px[y * size + x] = (x >= from && x < from + side && y >= from && y < from + side) ? argb : 0;
  return bmp;
}

}  // namespace

void TreeControl::setIcons(UINT dpi) {
  const int size = scale(16, dpi);
  ImageList list(ImageList_Create(size, size, ILC_COLOR32, 4, 0));
  if (!list) return;  // the rows still show, without pictures
  const struct {
    int side;
    COLORREF color;
  } pictures[] = {{scale(12, dpi), colors::kOrange},
                  {scale(12, dpi), colors::kTeal},
                  {scale(6, dpi), colors::kTeal},
                  {scale(6, dpi), colors::kOrange}};
  for (const auto& p : pictures) {
    Bitmap bmp(squareBitmap(size, p.side, p.color));
    ImageList_Add(list.get(), bmp.get(), nullptr);
  }
  TreeView_SetImageList(hwnd_, list.get(), TVSIL_NORMAL);
  icons_ = std::move(list);  // the tree has let go of the old list
}

void TreeControl::setRows(const std::vector<OutlineRow>& rows) {
  NoRedraw quiet(hwnd_, depth_);
  TreeView_DeleteAllItems(hwnd_);
  items_.assign(rows.size(), nullptr);
  // The last item seen at each level is the parent of the next deeper row.
  HTREEITEM parents[3] = {TVI_ROOT, nullptr, nullptr};
  NullProgress none;
  ProgressStepper step(progress_ ? *progress_ : none, rows.size(), 30);
  for (size_t i = 0; i < rows.size(); ++i) {
    step.before(i);
    const OutlineRow& r = rows[i];
    const int level = std::clamp(r.level, 0, 2);
    HTREEITEM parent = level == 0 ? TVI_ROOT : parents[level];
    if (!parent) parent = TVI_ROOT;
    std::wstring label = wide(r.text);
    TVINSERTSTRUCTW ins{};
    ins.hParent = parent;
    ins.hInsertAfter = TVI_LAST;
    // Definitions are inserted expanded under collapsed roots: an insert below a
    // collapsed node is cheap, while every insert or expansion where the row shows
    // makes the control (Wine's at least) walk all shown rows again. Opening the
    // two roots at the end costs two such walks instead of one per row.
    ins.item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_STATE;
    ins.item.stateMask = TVIS_EXPANDED;
    ins.item.state = level > 0 ? TVIS_EXPANDED : 0;
    ins.item.pszText = label.data();
    ins.item.lParam = LPARAM(i);
    ins.item.iImage = ins.item.iSelectedImage = r.icon;
    items_[i] = TreeView_InsertItem(hwnd_, &ins);
    if (level < 2) parents[level + 1] = items_[i];
  }
  for (size_t i = 0; i < rows.size(); ++i)
    if (rows[i].level == 0 && items_[i]) TreeView_Expand(hwnd_, items_[i], TVE_EXPAND);
  if (!items_.empty() && items_[0]) TreeView_SelectSetFirstVisible(hwnd_, items_[0]);
  if (progress_) progress_->setPosition(0);
}

std::optional<size_t> TreeControl::indexOf(HTREEITEM item) const {
  if (!item) return std::nullopt;
  TVITEMW it{};
  it.mask = TVIF_PARAM | TVIF_HANDLE;
  it.hItem = item;
  if (!TreeView_GetItem(hwnd_, &it)) return std::nullopt;
  const size_t i = size_t(it.lParam);
  return i < items_.size() ? std::optional<size_t>(i) : std::nullopt;
}

std::optional<size_t> TreeControl::selectedIndex() const { return indexOf(TreeView_GetSelection(hwnd_)); }

std::optional<size_t> TreeControl::topIndex() const { return indexOf(TreeView_GetFirstVisible(hwnd_)); }

void TreeControl::select(size_t index) {
  if (index < items_.size()) TreeView_SelectItem(hwnd_, items_[index]);
}

void TreeControl::setTopIndex(size_t index) {
  if (index < items_.size()) TreeView_SelectSetFirstVisible(hwnd_, items_[index]);
}

}  // namespace quenlit::win
