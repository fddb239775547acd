// TMessageFilter, the COM message filter of the user-interface thread: calls a
// busy CAD rejects with "retry later" are sent again every second until it takes
// them; calls rejected for any other reason fail at once. COM holds it while it
// is registered; the previous filter is put back when it is revoked.
#pragma once

#include <windows.h>
#include <objidl.h>

namespace quenlit::win {

inline constexpr DWORD kRetryAfterMs = 1000;

class TMessageFilter final : public IMessageFilter {
 public:
  TMessageFilter() = default;
  TMessageFilter(const TMessageFilter&) = delete;
  TMessageFilter& operator=(const TMessageFilter&) = delete;

  void RegisterFilter();
  void RevokeFilter();

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;
  // IMessageFilter
  DWORD STDMETHODCALLTYPE HandleInComingCall(DWORD callType, HTASK caller, DWORD tickCount,
                                             LPINTERFACEINFO interfaceInfo) override;
  DWORD STDMETHODCALLTYPE RetryRejectedCall(HTASK callee, DWORD tickCount, DWORD rejectType) override;
  DWORD STDMETHODCALLTYPE MessagePending(HTASK callee, DWORD tickCount, DWORD pendingType) override;

 private:
  ~TMessageFilter();  // by Release only

  LONG refs_ = 1;                         // the creator's reference
  IMessageFilter* oldFilter_ = nullptr;   // FOldFilter
};

// The creator's reference to a filter, released at the end of its scope.
class MessageFilterRef {
 public:
  MessageFilterRef() : p_(new TMessageFilter) {}
  ~MessageFilterRef() { p_->Release(); }
  MessageFilterRef(const MessageFilterRef&) = delete;
  MessageFilterRef& operator=(const MessageFilterRef&) = delete;
  TMessageFilter* operator->() const { return p_; }
  TMessageFilter* get() const { return p_; }

 private:
  TMessageFilter* p_;
};

}  // namespace quenlit::win
