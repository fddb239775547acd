#include "win32/bridge/WinDesktop.h"

#include <windows.h>
#include <imm.h>

#include "win32/base/Win.h"

namespace quenlit::win {

namespace {

HWND hwndOf(WindowId w) { return reinterpret_cast<HWND>(w); }
WindowId idOf(HWND h) { return reinterpret_cast<WindowId>(h); }

// Messages to other programs' windows give up on a window that does not answer,
// so a hung editor cannot hang this program.
constexpr UINT kAnswerTimeoutMs = 2000;

LRESULT sendWithTimeout(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutW(h, msg, wp, lp, SMTO_NORMAL | SMTO_ABORTIFHUNG, kAnswerTimeoutMs, &result)) return 0;
  return LRESULT(result);
}

// WM_IME_CONTROL commands (not in every SDK's imm.h).
constexpr WPARAM kImcGetOpenStatus = 0x0005;
constexpr WPARAM kImcSetOpenStatus = 0x0006;

// Titles and class names are read into 255-character buffers.
constexpr int kNameBuffer = 255;

}  // namespace

WindowId WinDesktop::findWindowByClass(TextView className) {
  return idOf(FindWindowW(wide(className).c_str(), nullptr));
}

WindowId WinDesktop::findWindowByTitle(TextView title) { return idOf(FindWindowW(nullptr, wide(title).c_str())); }

void WinDesktop::enumWindows(const std::function<bool(WindowId)>& visit) {
  EnumWindows(
      [](HWND h, LPARAM lp) -> BOOL { return (*reinterpret_cast<const std::function<bool(WindowId)>*>(lp))(idOf(h)); },
      reinterpret_cast<LPARAM>(&visit));
}

WindowId WinDesktop::findChildByClass(WindowId parent, TextView className) {
  if (parent == kNoWindow) return kNoWindow;
  return idOf(FindWindowExW(hwndOf(parent), nullptr, wide(className).c_str(), nullptr));
}

WindowId WinDesktop::findChildByCaption(WindowId parent, TextView caption) {
  if (parent == kNoWindow) return kNoWindow;
  return idOf(FindWindowExW(hwndOf(parent), nullptr, nullptr, wide(caption).c_str()));
}

Text WinDesktop::windowTitle(WindowId w) {
  wchar_t buf[kNameBuffer] = L"";
  const int n = w == kNoWindow ? 0 : GetWindowTextW(hwndOf(w), buf, kNameBuffer);
  return text(std::wstring_view(buf, size_t(n > 0 ? n : 0)));
}

Text WinDesktop::className(WindowId w) {
  wchar_t buf[kNameBuffer] = L"";
  const int n = w == kNoWindow ? 0 : GetClassNameW(hwndOf(w), buf, kNameBuffer);
  return text(std::wstring_view(buf, size_t(n > 0 ? n : 0)));
}

bool WinDesktop::isWindow(WindowId w) { return w != kNoWindow && IsWindow(hwndOf(w)); }
bool WinDesktop::isEnabled(WindowId w) { return w != kNoWindow && IsWindowEnabled(hwndOf(w)); }
bool WinDesktop::isIconic(WindowId w) { return w != kNoWindow && IsIconic(hwndOf(w)); }
void WinDesktop::restore(WindowId w) { OpenIcon(hwndOf(w)); }
void WinDesktop::showRestored(WindowId w) { ShowWindow(hwndOf(w), SW_RESTORE); }
void WinDesktop::setForeground(WindowId w) {
  if (!SetForegroundWindow(hwndOf(w))) trace(L"SetForegroundWindow");
}
WindowId WinDesktop::foreground() { return idOf(GetForegroundWindow()); }

ScreenRect WinDesktop::windowRect(WindowId w) {
  RECT r{};
  if (w == kNoWindow || !GetWindowRect(hwndOf(w), &r)) return {};
  return {r.left, r.top, r.right, r.bottom};
}

// Moved without being activated: the window the caller brings to the front
// afterwards (the editor after the placement) must stay there, and the help
// window placed last must not take its place.
void WinDesktop::placeWindow(WindowId w, const ScreenRect& r) {
  if (!SetWindowPos(hwndOf(w), HWND_TOP, r.left, r.top, r.width(), r.height(), SWP_SHOWWINDOW | SWP_NOACTIVATE))
    trace(L"SetWindowPos");
}

ScreenSize WinDesktop::screenSize(WindowId forWindow) {
  const UINT dpi = forWindow == kNoWindow ? 0 : GetDpiForWindow(hwndOf(forWindow));
  if (dpi == 0) return {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  return {GetSystemMetricsForDpi(SM_CXSCREEN, dpi), GetSystemMetricsForDpi(SM_CYSCREEN, dpi)};
}

ScreenRect WinDesktop::workArea() {
  RECT r{};
  if (!SystemParametersInfoW(SPI_GETWORKAREA, 0, &r, 0)) return {};
  return {r.left, r.top, r.right, r.bottom};
}

unsigned WinDesktop::scanCode(unsigned vk) { return MapVirtualKeyW(vk, MAPVK_VK_TO_VSC); }

void WinDesktop::keyEvent(unsigned vk, unsigned scan, bool up) {
  keybd_event(BYTE(vk), BYTE(scan), up ? KEYEVENTF_KEYUP : 0, 0);
}


void WinDesktop::setText(WindowId w, TextView t) {
  if (w == kNoWindow) return;
  const std::wstring s = wide(t);
  sendWithTimeout(hwndOf(w), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(s.c_str()));
}

void WinDesktop::postClick(WindowId w) {
  PostMessageW(hwndOf(w), WM_LBUTTONDOWN, 0, 0);
  PostMessageW(hwndOf(w), WM_LBUTTONUP, 0, 0);
}

WindowId WinDesktop::defaultImeWindow(WindowId w) {
  return w == kNoWindow ? kNoWindow : idOf(ImmGetDefaultIMEWnd(hwndOf(w)));
}

bool WinDesktop::imeOpen(WindowId ime) {
  return (sendWithTimeout(hwndOf(ime), WM_IME_CONTROL, kImcGetOpenStatus, 0) & 0xFF) != 0;
}

void WinDesktop::closeIme(WindowId ime) { sendWithTimeout(hwndOf(ime), WM_IME_CONTROL, kImcSetOpenStatus, 0); }

void WinDesktop::sleep(int ms) { Sleep(DWORD(ms)); }

}  // namespace quenlit::win
