#include "win32/base/Theme.h"

#include <dwmapi.h>
#include <uxtheme.h>

#include <string>

namespace quenlit::win {

Theme::Theme()
    : window_(CreateSolidBrush(colors::kWindow)),
      field_(CreateSolidBrush(colors::kField)),
      button_(CreateSolidBrush(colors::kButton)),
      pressed_(CreateSolidBrush(colors::kButtonPressed)) {}

HBRUSH Theme::colorStatic(HDC dc, COLORREF text) const {
  SetTextColor(dc, text);
  SetBkColor(dc, colors::kWindow);
  return window_.get();
}

HBRUSH Theme::colorField(HDC dc, COLORREF text) const {
  SetTextColor(dc, text);
  SetBkColor(dc, colors::kField);
  return field_.get();
}

void Theme::drawButton(const DRAWITEMSTRUCT& item) const {
  HDC dc = item.hDC;
  RECT r = item.rcItem;
  const bool pressed = item.itemState & ODS_SELECTED;
  const bool disabled = item.itemState & ODS_DISABLED;
  const bool focused = item.itemState & ODS_FOCUS;

  FillRect(dc, &r, pressed ? pressed_.get() : button_.get());
  SetDCBrushColor(dc, focused ? colors::kFocus : colors::kBorder);
  FrameRect(dc, &r, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));

  std::wstring caption = windowText(item.hwndItem);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, disabled ? colors::kDisabledText : colors::kText);
  HFONT font = reinterpret_cast<HFONT>(SendMessageW(item.hwndItem, WM_GETFONT, 0, 0));
  Selected use(dc, font ? static_cast<HGDIOBJ>(font) : GetStockObject(DEFAULT_GUI_FONT));
  RECT text = r;
  if (pressed) OffsetRect(&text, 1, 1);
  if (caption.find(L'\n') == std::wstring::npos) {
    DrawTextW(dc, caption.c_str(), int(caption.size()), &text, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  } else {
    // Two-line captions ("Open\n...") are centred as a block.
    RECT measure = text;
    DrawTextW(dc, caption.c_str(), int(caption.size()), &measure, DT_CENTER | DT_WORDBREAK | DT_NOPREFIX | DT_CALCRECT);
    const int h = measure.bottom - measure.top;
    text.top += ((text.bottom - text.top) - h) / 2;
    DrawTextW(dc, caption.c_str(), int(caption.size()), &text, DT_CENTER | DT_WORDBREAK | DT_NOPREFIX);
  }
}

void Theme::darkenTitleBar(HWND hwnd) {
  BOOL dark = TRUE;
  constexpr DWORD kImmersiveDarkMode = 20;  // DWMWA_USE_IMMERSIVE_DARK_MODE
  DwmSetWindowAttribute(hwnd, kImmersiveDarkMode, &dark, sizeof dark);
}

namespace {

// Dark scroll bars need the process and each window to opt in through two
// unnamed uxtheme entries (ordinals 135 and 133) that exist from Windows 10
// 1809 (build 17763) on; elsewhere, Wine included, the look stays light.
using AllowDarkForWindow = BOOL(WINAPI*)(HWND, BOOL);
using SetAppMode = int(WINAPI*)(int);
constexpr DWORD kFirstDarkBuild = 17763;
constexpr int kAllowDark = 1;

DWORD windowsBuild() {
  using GetVersion = LONG(WINAPI*)(OSVERSIONINFOW*);
  auto get = reinterpret_cast<GetVersion>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "RtlGetVersion")));
  OSVERSIONINFOW v{sizeof v};
  return get && get(&v) == 0 ? v.dwBuildNumber : 0;
}

AllowDarkForWindow darkModeEntry() {
  static const AllowDarkForWindow entry = [] {
    if (windowsBuild() < kFirstDarkBuild) return AllowDarkForWindow{};
    HMODULE ux = GetModuleHandleW(L"uxtheme.dll");  // loaded with the common controls, kept for the run
    if (!ux) return AllowDarkForWindow{};
    if (auto mode = reinterpret_cast<SetAppMode>(reinterpret_cast<void*>(GetProcAddress(ux, MAKEINTRESOURCEA(135)))))
      mode(kAllowDark);
    return reinterpret_cast<AllowDarkForWindow>(reinterpret_cast<void*>(GetProcAddress(ux, MAKEINTRESOURCEA(133))));
  }();
  return entry;
}

}  // namespace

void Theme::darkenScrollBars(HWND hwnd) {
  if (auto allow = darkModeEntry()) allow(hwnd, TRUE);
  SetWindowTheme(hwnd, L"DarkMode_Explorer", nullptr);
}

void Theme::plainDrawing(HWND hwnd) { SetWindowTheme(hwnd, L"", L""); }

}  // namespace quenlit::win
