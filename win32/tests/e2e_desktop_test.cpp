// The program's desktop layer against real windows of this process: what the
// bridges read, find, move, type and click.
#include <gtest/gtest.h>

#include <windows.h>

#include "Driver.h"
#include "win32/bridge/WinDesktop.h"

using namespace quenlit;

namespace {

struct Probe {
  HWND main = nullptr, edit = nullptr, button = nullptr;
  std::vector<MSG> seen;  // keys and commands that reached it

  static LRESULT CALLBACK proc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    auto* self = reinterpret_cast<Probe*>(GetWindowLongPtrW(h, GWLP_USERDATA));
    if (self && (msg == WM_KEYDOWN || msg == WM_COMMAND)) self->seen.push_back(MSG{h, msg, wp, lp});
    return DefWindowProcW(h, msg, wp, lp);
  }

  Probe() {
    WNDCLASSEXW wc{sizeof wc};
    wc.lpfnWndProc = proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"QuenlitProbe";
    RegisterClassExW(&wc);
    const std::wstring title = L"probe " + std::wstring(300, L'x');
    main = CreateWindowExW(0, L"QuenlitProbe", title.c_str(), WS_OVERLAPPEDWINDOW, 10, 20, 300, 200, nullptr, nullptr,
                           wc.hInstance, nullptr);
    SetWindowLongPtrW(main, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    edit = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE, 5, 5, 80, 20, main, nullptr, wc.hInstance, nullptr);
    button = CreateWindowExW(0, L"BUTTON", L"OK", WS_CHILD | WS_VISIBLE, 5, 30, 80, 20, main, HMENU(7), wc.hInstance,
                             nullptr);
    ShowWindow(main, SW_SHOWNOACTIVATE);
  }
  ~Probe() {
    if (IsWindow(main)) DestroyWindow(main);
  }
  void pump() {
    for (int i = 0; i < 10; ++i) {
      MSG m;
      while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&m);
        DispatchMessageW(&m);
      }
      Sleep(20);
    }
  }
};

WindowId id(HWND h) { return reinterpret_cast<WindowId>(h); }

}  // namespace

TEST(Desktop, ReadsFindsMovesTypesAndClicksRealWindows) {
  Probe p;
  win::WinDesktop d;
  const WindowId w = id(p.main);

  ASSERT_EQ(d.findWindowByClass(u"QuenlitProbe"), w);
  EXPECT_EQ(d.windowTitle(w).size(), 254u);  // a 255-character buffer
  EXPECT_EQ(d.className(w), u"QuenlitProbe");
  SetWindowTextW(p.main, L"短い題名 - probe");
  EXPECT_EQ(d.findWindowByTitle(u"短い題名 - probe"), w);
  EXPECT_EQ(d.findChildByClass(w, u"Edit"), id(p.edit));
  EXPECT_EQ(d.findChildByCaption(w, u"OK"), id(p.button));
  EXPECT_EQ(d.findChildByCaption(kNoWindow, u"OK"), kNoWindow);

  int visited = 0;
  bool sawProbe = false;
  d.enumWindows([&](WindowId each) {
    ++visited;
    sawProbe = each == w;
    return !sawProbe;
  });
  EXPECT_TRUE(sawProbe);  // and the enumeration stopped there
  int after = 0;
  d.enumWindows([&](WindowId) { return ++after < visited; });
  EXPECT_EQ(after, visited);

  d.setText(id(p.edit), u"1234");
  wchar_t buf[16] = L"";
  GetWindowTextW(p.edit, buf, 16);
  EXPECT_EQ(std::wstring(buf), L"1234");

  d.placeWindow(w, {50, 60, 450, 360});
  EXPECT_EQ(d.windowRect(w), (ScreenRect{50, 60, 450, 360}));
  EXPECT_GT(d.screenSize(w).width, 0);
  EXPECT_GT(d.screenSize(kNoWindow).height, 0);

  for (auto bringBack : {&win::WinDesktop::restore, &win::WinDesktop::showRestored}) {
    ShowWindow(p.main, SW_MINIMIZE);
    EXPECT_TRUE(d.isIconic(w));
    (d.*bringBack)(w);
    EXPECT_FALSE(d.isIconic(w));
  }
  EXPECT_TRUE(d.isEnabled(w));
  EnableWindow(p.main, FALSE);
  EXPECT_FALSE(d.isEnabled(w));
  EnableWindow(p.main, TRUE);

  // Keys go to the window in front, with the scan code mapped from the key.
  d.setForeground(w);
  p.pump();
  p.seen.clear();
  ASSERT_EQ(d.foreground(), w);
  SetFocus(p.main);
  d.keyEvent(kVkControl, d.scanCode(kVkControl), false);
  d.keyEvent(vkOf('G'), d.scanCode(vkOf('G')), false);
  d.keyEvent(vkOf('G'), d.scanCode(vkOf('G')), true);
  p.pump();
  d.keyEvent(kVkControl, d.scanCode(kVkControl), true);
  p.pump();
  d.postClick(id(p.button));
  p.pump();
  std::vector<std::pair<UINT, WPARAM>> seen;
  for (const MSG& m : p.seen) seen.push_back({m.message, m.wParam});
  ASSERT_EQ(seen, (std::vector<std::pair<UINT, WPARAM>>{
                      {WM_KEYDOWN, VK_CONTROL}, {WM_KEYDOWN, 'G'}, {WM_COMMAND, MAKEWPARAM(7, BN_CLICKED)}}));
  EXPECT_EQ((p.seen[1].lParam >> 16) & 0xFF, LPARAM(d.scanCode(vkOf('G'))));

  DestroyWindow(p.main);
  EXPECT_FALSE(d.isWindow(w));
  EXPECT_EQ(d.windowTitle(w), u"");
}
