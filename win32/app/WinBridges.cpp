#include "win32/app/WinBridges.h"

#include "shell/SaveWatch.h"

namespace quenlit::win {

// Called by the system for every key event of the whole desktop. It does
// nothing but compare, post and pass the event on: no allocation, no lock, no
// file access, nothing that could wait or take long, since the key is held back
// from the program it is meant for until this returns.
// Ctrl travels with the key: by the time the window reads the message the user
// may have let go of it, and a Ctrl+S typed quickly would go unnoticed.
LRESULT CALLBACK KeyboardHook::proc(int code, WPARAM wp, LPARAM lp) {
  KeyboardHook* self = active_;
  if (self && code == HC_ACTION && (wp == WM_KEYDOWN || wp == WM_KEYUP)) {
    const DWORD vk = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lp)->vkCode;
    const bool down = wp == WM_KEYDOWN;
    if (vk == VK_LCONTROL || vk == VK_CONTROL) self->leftCtrlDown_ = down;
    if (vk == VK_RCONTROL) self->rightCtrlDown_ = down;
    // The asynchronous state covers a Ctrl already held when the hook was set.
    const bool ctrl = self->leftCtrlDown_ || self->rightCtrlDown_ || (GetAsyncKeyState(VK_CONTROL) & 0x8000) != 0;
    PostMessageW(self->target_, kWmHookKey, wp, MAKELPARAM(vk, ctrl ? 1 : 0));
  }
  return CallNextHookEx(nullptr, code, wp, lp);
}

bool KeyboardHook::start(HWND target) {
  if (running()) return true;
  stopEvent_.reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  if (!stopEvent_) {
    trace(L"CreateEventW");
    return false;
  }
  target_ = target;
  leftCtrlDown_ = rightCtrlDown_ = false;
  active_ = this;
  std::promise<bool> installed;
  std::future<bool> result = installed.get_future();
  thread_ = std::thread([this, stop = stopEvent_.get(), installed = std::move(installed)]() mutable {
    run(stop, installed);
  });
  if (result.get()) return true;
  thread_.join();
  active_ = nullptr;
  return false;
}

void KeyboardHook::run(HANDLE stopEvent, std::promise<bool>& installed) {
  const Hook hook(SetWindowsHookExW(WH_KEYBOARD_LL, proc, GetModuleHandleW(nullptr), 0));
  if (!hook) trace(L"SetWindowsHookExW");
  installed.set_value(bool(hook));
  if (!hook) return;
  // The system's calls arrive as sent messages, which the wait lets in.
  for (;;) {
    if (MsgWaitForMultipleObjects(1, &stopEvent, FALSE, INFINITE, QS_ALLINPUT) != WAIT_OBJECT_0 + 1) return;
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    }
  }
}

// An event rather than a thread message ends the thread: setting it cannot fail
// the way a message to a full queue can, so the exit never waits for nothing.
void KeyboardHook::stop() {
  if (!running()) return;
  SetEvent(stopEvent_.get());
  thread_.join();
  active_ = nullptr;
  stopEvent_.reset();
}

void WinBridges::allowHookMessage() {
  constexpr DWORD kMsgFltAdd = 1;
  if (!ChangeWindowMessageFilter(kWmHookKey, kMsgFltAdd)) trace(L"ChangeWindowMessageFilter");
}

// A hook that cannot be installed leaves both watches off; only the trace says why.
void WinBridges::installKeyboardHook() {
  if (target_) hook_.start(target_);
}

}  // namespace quenlit::win
