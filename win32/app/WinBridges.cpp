#include "app/WinBridges.h"

#include <future>

#include "shell/SaveWatch.h"

namespace quenlit::win {

namespace {

// Where the hook posts. Written before the hook thread starts, read by the hook.
HWND hookTarget = nullptr;

// Ctrl as the hook's own events left it. Only the hook thread touches these.
bool leftCtrlDown = false, rightCtrlDown = false;

// Called by the system for every key event of the whole desktop. It does
// nothing but compare, post and pass the event on: no allocation, no lock, no
// file access, nothing that could wait or take long, since the key is held back
// from the program it is meant for until this returns.
// Ctrl travels with the key: by the time the window reads the message the user
// may have let go of it, and a Ctrl+S typed quickly would go unnoticed.
LRESULT CALLBACK keyboardProc(int code, WPARAM wp, LPARAM lp) {
  if (code == HC_ACTION && (wp == WM_KEYDOWN || wp == WM_KEYUP)) {
    const DWORD vk = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lp)->vkCode;
    const bool down = wp == WM_KEYDOWN;
    if (vk == VK_LCONTROL || vk == VK_CONTROL) leftCtrlDown = down;
    if (vk == VK_RCONTROL) rightCtrlDown = down;
    // The asynchronous state covers a Ctrl already held when the hook was set.
    const bool ctrl = leftCtrlDown || rightCtrlDown || (GetAsyncKeyState(VK_CONTROL) & 0x8000) != 0;
    PostMessageW(hookTarget, kWmHookKey, wp, MAKELPARAM(vk, ctrl ? 1 : 0));
  }
  return CallNextHookEx(nullptr, code, wp, lp);
}

}  // namespace

bool KeyboardHookThread::start(HWND target) {
  if (running()) return true;
  hookTarget = target;
  leftCtrlDown = rightCtrlDown = false;
  std::promise<DWORD> installed;  // the thread's id, or 0 when the hook could not be set
  std::future<DWORD> result = installed.get_future();
  thread_ = std::thread([&installed] {
    MSG msg;
    PeekMessageW(&msg, nullptr, WM_USER, WM_USER, PM_NOREMOVE);  // the queue that WM_QUIT will reach
    HHOOK hook = SetWindowsHookExW(WH_KEYBOARD_LL, keyboardProc, GetModuleHandleW(nullptr), 0);
    installed.set_value(hook ? GetCurrentThreadId() : 0);
    if (!hook) return;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    }
    UnhookWindowsHookEx(hook);
  });
  threadId_ = result.get();
  if (threadId_ == 0) {
    thread_.join();
    return false;
  }
  return true;
}

void KeyboardHookThread::stop() {
  if (!running()) return;
  PostThreadMessageW(threadId_, WM_QUIT, 0, 0);
  thread_.join();
  threadId_ = 0;
}

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
  constexpr DWORD kMsgFltAdd = 1;
  if (change) change(kWmHookKey, kMsgFltAdd);
}

// A hook that cannot be installed leaves both watches off, without a word.
void WinBridges::installKeyboardHook() {
  if (target_) hook_.start(target_);
}

}  // namespace quenlit::win
