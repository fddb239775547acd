#include "app/WinBridges.h"

#include <windows.h>

namespace quenlit::win {

namespace {
void freeLibrary(HMODULE m) { FreeLibrary(m); }
}  // namespace

// Looked up at run time: the function is missing before Windows Vista.
void WinBridges::allowHookMessage() {
  OSVERSIONINFOW v{sizeof v};
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  if (!GetVersionExW(&v) || v.dwMajorVersion < 6) return;
#pragma GCC diagnostic pop
  HMODULE user32 = LoadLibraryW(L"user32.dll");
  if (!user32) return;
  using Filter = BOOL(WINAPI*)(UINT, DWORD);
  if (auto change = reinterpret_cast<Filter>(reinterpret_cast<void*>(GetProcAddress(user32, "ChangeWindowMessageFilter"))))
    change(kWmHookKey, 1 /* MSGFLT_ADD */);
  freeLibrary(user32);
}

}  // namespace quenlit::win
