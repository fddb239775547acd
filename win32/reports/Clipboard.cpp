#include "win32/reports/Clipboard.h"

#include <cstring>

#include "win32/base/Win.h"

namespace quenlit::win {

namespace {

inline void freeGlobal(HGLOBAL h) { GlobalFree(h); }
using Global = Unique<HGLOBAL, freeGlobal>;

// The clipboard opened for a scope.
class OpenClipboardScope {
 public:
  explicit OpenClipboardScope(HWND owner) {
    // Another program may hold it for a moment (a clipboard viewer, a paste).
    for (int attempt = 0; attempt < 10 && !open_; ++attempt) {
      open_ = OpenClipboard(owner);
      if (!open_) Sleep(20);
    }
  }
  ~OpenClipboardScope() {
    if (open_) CloseClipboard();
  }
  OpenClipboardScope(const OpenClipboardScope&) = delete;
  OpenClipboardScope& operator=(const OpenClipboardScope&) = delete;
  explicit operator bool() const { return open_; }

 private:
  bool open_ = false;
};

}  // namespace

bool putClipboardText(HWND owner, TextView text) {
  const std::wstring w = wide(text);
  const size_t bytes = (w.size() + 1) * sizeof(wchar_t);
  Global memory(GlobalAlloc(GMEM_MOVEABLE, bytes));
  if (!memory) return false;
  void* p = GlobalLock(memory.get());
  if (!p) return false;
  std::memcpy(p, w.c_str(), bytes);
  GlobalUnlock(memory.get());

  OpenClipboardScope clipboard(owner);
  if (!clipboard || !EmptyClipboard()) return false;
  if (!SetClipboardData(CF_UNICODETEXT, memory.get())) return false;
  memory.release();  // the clipboard owns it now
  return true;
}

}  // namespace quenlit::win
