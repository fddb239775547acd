#include "app/WinBridges.h"

#include <windows.h>

#include "app/Win.h"

namespace quenlit::win {

// Looked up at run time: the function is missing before Windows Vista.
void WinBridges::allowHookMessage() {
  OSVERSIONINFOW v{sizeof v};
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  if (!GetVersionExW(&v) || v.dwMajorVersion < 6) return;
#pragma GCC diagnostic pop
  Library user32(LoadLibraryW(L"user32.dll"));
  if (!user32) return;
  using Filter = BOOL(WINAPI*)(UINT, DWORD);
  auto change = reinterpret_cast<Filter>(reinterpret_cast<void*>(GetProcAddress(user32.get(), "ChangeWindowMessageFilter")));
  if (change) change(kWmHookKey, 1 /* MSGFLT_ADD */);
}

}  // namespace quenlit::win
