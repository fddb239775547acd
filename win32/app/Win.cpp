#include "app/Win.h"

namespace quenlit::win {

std::wstring windowText(HWND hwnd) {
  const int n = GetWindowTextLengthW(hwnd);
  std::wstring s(size_t(n) + 1, L'\0');
  const int got = GetWindowTextW(hwnd, s.data(), n + 1);
  s.resize(size_t(got > 0 ? got : 0));
  return s;
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
