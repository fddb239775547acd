#include "win32/bridge/MessageFilter.h"

namespace quenlit::win {

TMessageFilter::~TMessageFilter() {
  if (oldFilter_) oldFilter_->Release();
}

// A failed registration is ignored: the calls then simply run without retries.
void TMessageFilter::RegisterFilter() {
  IMessageFilter* previous = nullptr;
  if (FAILED(CoRegisterMessageFilter(this, &previous))) return;
  if (oldFilter_) oldFilter_->Release();
  oldFilter_ = previous;
}

void TMessageFilter::RevokeFilter() {
  IMessageFilter* returned = nullptr;
  if (FAILED(CoRegisterMessageFilter(oldFilter_, &returned))) return;
  if (returned) returned->Release();  // COM's reference to this filter
  if (oldFilter_) oldFilter_->Release();  // COM holds its own reference now
  oldFilter_ = nullptr;
}

HRESULT STDMETHODCALLTYPE TMessageFilter::QueryInterface(REFIID iid, void** out) {
  if (!out) return E_POINTER;
  if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IMessageFilter)) {
    *out = static_cast<IMessageFilter*>(this);
    AddRef();
    return S_OK;
  }
  *out = nullptr;
  return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE TMessageFilter::AddRef() { return ULONG(InterlockedIncrement(&refs_)); }

ULONG STDMETHODCALLTYPE TMessageFilter::Release() {
  const LONG n = InterlockedDecrement(&refs_);
  if (n == 0) delete this;
  return ULONG(n);
}

// Calls made into this program are never refused.
DWORD STDMETHODCALLTYPE TMessageFilter::HandleInComingCall(DWORD, HTASK, DWORD, LPINTERFACEINFO) {
  return SERVERCALL_ISHANDLED;
}

DWORD STDMETHODCALLTYPE TMessageFilter::RetryRejectedCall(HTASK, DWORD, DWORD rejectType) {
  return rejectType == SERVERCALL_RETRYLATER ? kRetryAfterMs : DWORD(-1);
}

// Waits for the reply without dispatching the window messages that arrive
// meanwhile: no click can start a second action inside the first.
DWORD STDMETHODCALLTYPE TMessageFilter::MessagePending(HTASK, DWORD, DWORD) { return PENDINGMSG_WAITNOPROCESS; }

}  // namespace quenlit::win
