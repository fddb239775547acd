#include "win32/base/Win.h"

#include "text/Titles.h"

namespace quenlit::win {

std::wstring windowText(HWND hwnd) {
  const int n = GetWindowTextLengthW(hwnd);
  std::wstring s(size_t(n) + 1, L'\0');
  const int got = GetWindowTextW(hwnd, s.data(), n + 1);
  s.resize(size_t(got > 0 ? got : 0));
  return s;
}

namespace {

// The system's own wording for the error, in the user's language.
std::wstring systemReason(const FileError& error) {
  if (error.code != 0) {
    wchar_t* buf = nullptr;
    const DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                       FORMAT_MESSAGE_IGNORE_INSERTS,
                                   nullptr, DWORD(error.code), 0, reinterpret_cast<wchar_t*>(&buf), 0, nullptr);
    std::wstring reason = n && buf ? std::wstring(buf, n) : std::wstring();
    if (buf) LocalFree(buf);
    while (!reason.empty() && (reason.back() == L'\n' || reason.back() == L'\r' || reason.back() == L' '))
      reason.pop_back();
    if (!reason.empty()) return reason;
  }
  return wide(fromUtf8Lenient(error.reason));
}

}  // namespace

void showFileErrorBox(HWND owner, TextView path, const FileError& error) {
  const std::wstring msg = L"ファイル \"" + wide(path) + L"\" を開けません。\n" + systemReason(error);
  MessageBoxW(owner, msg.c_str(), wide(kAppTitle).c_str(), MB_OK | MB_ICONERROR);
}

void suspendRedraw(HWND hwnd, int& depth) {
  if (depth++ == 0) SendMessageW(hwnd, WM_SETREDRAW, FALSE, 0);
}

void resumeRedraw(HWND hwnd, int& depth) {
  if (depth > 0 && --depth == 0) {
    SendMessageW(hwnd, WM_SETREDRAW, TRUE, 0);
    RedrawWindow(hwnd, nullptr, nullptr, RDW_ERASE | RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN);
  }
}

NoRedraw::NoRedraw(HWND hwnd, int& depth) : hwnd_(hwnd), depth_(depth) { suspendRedraw(hwnd_, depth_); }
NoRedraw::~NoRedraw() { resumeRedraw(hwnd_, depth_); }

void centreDialog(HWND dlg, int designWidth, int designHeight, UINT dpi) {
  RECT r{0, 0, scale(designWidth, dpi), scale(designHeight, dpi)};
  AdjustWindowRectExForDpi(&r, DWORD(GetWindowLongPtrW(dlg, GWL_STYLE)), FALSE,
                           DWORD(GetWindowLongPtrW(dlg, GWL_EXSTYLE)), dpi);
  const int w = r.right - r.left, h = r.bottom - r.top;
  MONITORINFO mi{sizeof mi};
  GetMonitorInfoW(MonitorFromWindow(GetParent(dlg), MONITOR_DEFAULTTOPRIMARY), &mi);
  const RECT& area = mi.rcWork;
  SetWindowPos(dlg, HWND_TOPMOST, area.left + (area.right - area.left - w) / 2,
               area.top + (area.bottom - area.top - h) / 2, w, h, 0);
}

Font makeFont(const wchar_t* face, int pixels, bool bold, UINT dpi) {
  LOGFONTW lf{};
  lf.lfHeight = -scale(pixels, dpi);
  lf.lfWeight = bold ? FW_BOLD : FW_NORMAL;
  lf.lfCharSet = DEFAULT_CHARSET;
  lf.lfQuality = CLEARTYPE_QUALITY;
  lstrcpynW(lf.lfFaceName, face, LF_FACESIZE);
  return Font(CreateFontIndirectW(&lf));
}

namespace {
int CALLBACK foundFace(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
  *reinterpret_cast<bool*>(found) = true;
  return 0;
}
}  // namespace

bool fontInstalled(const wchar_t* face) {
  LOGFONTW lf{};
  lf.lfCharSet = DEFAULT_CHARSET;
  lstrcpynW(lf.lfFaceName, face, LF_FACESIZE);
  bool found = false;
  WindowDC screen(nullptr);
  EnumFontFamiliesExW(screen.get(), &lf, foundFace, reinterpret_cast<LPARAM>(&found), 0);
  return found;
}

const wchar_t* firstInstalled(std::initializer_list<const wchar_t*> faces) {
  for (const wchar_t* f : faces)
    if (fontInstalled(f)) return f;
  return *faces.begin();
}

}  // namespace quenlit::win
