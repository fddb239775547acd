// Program entry of QuenlitX.exe: COM for the user-interface thread, the common
// controls, the main window, and the message loop until the main window closes.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include <string>

#include "win32/app/MainWindow.h"
#include "win32/shell/Splitter.h"

namespace {

std::filesystem::path exePath() {
  std::wstring buf(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, buf.data(), DWORD(buf.size()));
    if (n < buf.size()) {
      buf.resize(n);
      return std::filesystem::path(buf);
    }
    buf.resize(buf.size() * 2);
  }
}

struct ComApartment {
  ComApartment() : ok(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
  ~ComApartment() {
    if (ok) CoUninitialize();
  }
  bool ok;
};

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
  ComApartment com;
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_STANDARD_CLASSES | ICC_TREEVIEW_CLASSES | ICC_PROGRESS_CLASS |
                                           ICC_BAR_CLASSES | ICC_WIN95_CLASSES};
  InitCommonControlsEx(&icc);
  quenlit::win::registerSplitterClass(instance);

  quenlit::win::MainWindow window(instance, exePath());
  if (!window.create(showCommand)) return 1;
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (window.preTranslate(msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return int(msg.wParam);
}
