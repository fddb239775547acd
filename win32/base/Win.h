// Small helpers for the Win32 side: text conversion, DPI scaling and owning
// wrappers for handles.
#pragma once

#include <windows.h>
#include <imm.h>

#include <initializer_list>
#include <string>
#include <utility>

#include "text/File.h"
#include "text/Text.h"

namespace quenlit::win {

inline std::wstring wide(TextView t) { return std::wstring(t.begin(), t.end()); }
inline Text text(std::wstring_view w) { return Text(w.begin(), w.end()); }

// Pixels as designed at 96 DPI, at `dpi`.
inline int scale(int px, UINT dpi) { return MulDiv(px, int(dpi), 96); }

std::wstring windowText(HWND hwnd);

// Tells a maintainer that a platform call failed, with the system's error code,
// on the debug output (a debugger, DebugView, or Wine's +debugstr channel); the
// user sees nothing of it.
inline void trace(const wchar_t* call, DWORD error = GetLastError()) {
  OutputDebugStringW((L"QuenlitX: " + std::wstring(call) + L" failed, error " + std::to_wstring(error) + L"\n").c_str());
}

// The platform's error box for a file that could not be read or written, with
// the system's own wording for the reason.
void showFileErrorBox(HWND owner, TextView path, const FileError& error);

// Owns a handle and releases it with `Free`.
template <class H, auto Free, H Null = H{}>
class Unique {
 public:
  Unique() = default;
  explicit Unique(H h) : h_(h) {}
  ~Unique() { reset(); }
  Unique(Unique&& o) noexcept : h_(std::exchange(o.h_, Null)) {}
  Unique& operator=(Unique&& o) noexcept {
    if (this != &o) {
      reset();
      h_ = std::exchange(o.h_, Null);
    }
    return *this;
  }
  Unique(const Unique&) = delete;
  Unique& operator=(const Unique&) = delete;

  void reset(H h = Null) {
    if (h_ != Null) Free(h_);
    h_ = h;
  }
  H get() const { return h_; }
  H release() { return std::exchange(h_, Null); }
  explicit operator bool() const { return h_ != Null; }

 private:
  H h_ = Null;
};

inline void deleteGdi(HGDIOBJ h) { DeleteObject(h); }
inline void destroyMenu(HMENU h) { DestroyMenu(h); }
inline void closeHandle(HANDLE h) { CloseHandle(h); }

using Font = Unique<HFONT, deleteGdi>;
using Brush = Unique<HBRUSH, deleteGdi>;
using Bitmap = Unique<HBITMAP, deleteGdi>;
using Menu = Unique<HMENU, destroyMenu>;
using Handle = Unique<HANDLE, closeHandle>;

// A window's device context for a scope (the screen's for a null window).
class WindowDC {
 public:
  explicit WindowDC(HWND hwnd) : hwnd_(hwnd), dc_(GetDC(hwnd)) {}
  ~WindowDC() {
    if (dc_) ReleaseDC(hwnd_, dc_);
  }
  WindowDC(const WindowDC&) = delete;
  WindowDC& operator=(const WindowDC&) = delete;
  HDC get() const { return dc_; }

 private:
  HWND hwnd_;
  HDC dc_;
};

inline void unhookWindowsHook(HHOOK h) { UnhookWindowsHookEx(h); }
using Hook = Unique<HHOOK, unhookWindowsHook>;

inline void destroyWindow(HWND h) { DestroyWindow(h); }
using Window = Unique<HWND, destroyWindow>;  // a top-level window no other window takes along

// A window's input method context for a scope.
class ImeContext {
 public:
  explicit ImeContext(HWND hwnd) : hwnd_(hwnd), imc_(ImmGetContext(hwnd)) {}
  ~ImeContext() {
    if (imc_) ImmReleaseContext(hwnd_, imc_);
  }
  ImeContext(const ImeContext&) = delete;
  ImeContext& operator=(const ImeContext&) = delete;
  HIMC get() const { return imc_; }

 private:
  HWND hwnd_;
  HIMC imc_;
};

// Switches a window's input method off (the search box starts that way).
inline void closeInputMethod(HWND hwnd) {
  ImeContext ime(hwnd);
  if (ime.get()) ImmSetOpenStatus(ime.get(), FALSE);
}

// Selects an object into a DC for a scope.
class Selected {
 public:
  Selected(HDC dc, HGDIOBJ obj) : dc_(dc), old_(SelectObject(dc, obj)) {}
  ~Selected() { SelectObject(dc_, old_); }
  Selected(const Selected&) = delete;
  Selected& operator=(const Selected&) = delete;

 private:
  HDC dc_;
  HGDIOBJ old_;
};

// Redrawing of a window switched off for a scope (nested scopes count).
class NoRedraw {
 public:
  explicit NoRedraw(HWND hwnd, int& depth);
  ~NoRedraw();
  NoRedraw(const NoRedraw&) = delete;
  NoRedraw& operator=(const NoRedraw&) = delete;

 private:
  HWND hwnd_;
  int& depth_;
};

void suspendRedraw(HWND hwnd, int& depth);
void resumeRedraw(HWND hwnd, int& depth);

// A dialog whose client area is the designed size at `dpi`, centred on the work
// area of its owner's screen, in the always-on-top layer above the main window.
void centreDialog(HWND dlg, int designWidth, int designHeight, UINT dpi);

Font makeFont(const wchar_t* face, int pixels, bool bold, UINT dpi);
bool fontInstalled(const wchar_t* face);
// The first installed face of the list, else the first of the list.
const wchar_t* firstInstalled(std::initializer_list<const wchar_t*> faces);

}  // namespace quenlit::win
