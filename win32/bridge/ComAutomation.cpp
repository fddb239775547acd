#include "win32/bridge/ComAutomation.h"

#include <windows.h>
#include <oleauto.h>

#include <string>

#include "win32/base/Win.h"

namespace quenlit::win {

namespace {

inline void releaseCom(IUnknown* p) { p->Release(); }
using DispatchPtr = Unique<IDispatch*, releaseCom>;
using UnknownPtr = Unique<IUnknown*, releaseCom>;

// A VARIANT cleared at the end of its scope.
struct Variant : VARIANT {
  Variant() { VariantInit(this); }
  ~Variant() { VariantClear(this); }
  Variant(const Variant&) = delete;
  Variant& operator=(const Variant&) = delete;
};

// The strings a failing call may leave in its exception record.
struct ExcepInfo : EXCEPINFO {
  ExcepInfo() : EXCEPINFO{} {}
  ~ExcepInfo() {
    SysFreeString(bstrSource);
    SysFreeString(bstrDescription);
    SysFreeString(bstrHelpFile);
  }
  ExcepInfo(const ExcepInfo&) = delete;
  ExcepInfo& operator=(const ExcepInfo&) = delete;
};

class DispatchObject final : public AutomationObject {
 public:
  explicit DispatchObject(DispatchPtr disp) : disp_(std::move(disp)) {}

  std::optional<std::int64_t> getInteger(TextView member) override {
    Variant r;
    if (!invoke(member, DISPATCH_METHOD | DISPATCH_PROPERTYGET, nullptr, r)) return std::nullopt;
    // A window handle comes as a 32-bit integer from some servers and as a
    // 64-bit one from others; a 32-bit handle is sign-extended, as Windows does.
    if (r.vt == VT_I4) return std::int64_t(r.lVal);
    if (r.vt == VT_I8) return std::int64_t(r.llVal);
    if (FAILED(VariantChangeType(&r, &r, 0, VT_I8))) return std::nullopt;
    return std::int64_t(r.llVal);
  }

  std::unique_ptr<AutomationObject> getObject(TextView member) override {
    Variant r;
    if (!invoke(member, DISPATCH_METHOD | DISPATCH_PROPERTYGET, nullptr, r)) return nullptr;
    IUnknown* unknown = r.vt == VT_DISPATCH ? r.pdispVal : r.vt == VT_UNKNOWN ? r.punkVal : nullptr;
    if (!unknown) return nullptr;
    IDispatch* disp = nullptr;
    if (FAILED(unknown->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&disp))) || !disp) return nullptr;
    return std::make_unique<DispatchObject>(DispatchPtr(disp));
  }

  bool call(TextView method, TextView argument) override {
    Variant arg;
    arg.vt = VT_BSTR;
    arg.bstrVal = SysAllocStringLen(reinterpret_cast<const OLECHAR*>(argument.data()), UINT(argument.size()));
    if (!arg.bstrVal && !argument.empty()) return false;
    Variant r;
    return invoke(method, DISPATCH_METHOD, &arg, r);
  }

 private:
  bool invoke(TextView member, WORD flags, VARIANT* arg, VARIANT& result) {
    std::wstring name = wide(member);
    LPOLESTR names[] = {name.data()};
    DISPID id = DISPID_UNKNOWN;
    if (FAILED(disp_.get()->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id))) return false;
    DISPPARAMS params{arg, nullptr, arg ? 1u : 0u, 0};
    ExcepInfo excep;
    UINT argError = 0;
    const HRESULT hr = disp_.get()->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, &result, &excep, &argError);
    if (FAILED(hr)) trace(L"IDispatch::Invoke", DWORD(hr));
    return SUCCEEDED(hr);
  }

  DispatchPtr disp_;
};

}  // namespace

std::unique_ptr<AutomationObject> ComAutomation::activeObject(TextView progId) {
  CLSID clsid{};
  if (const HRESULT hr = CLSIDFromProgID(wide(progId).c_str(), &clsid); FAILED(hr)) {
    trace(L"CLSIDFromProgID", DWORD(hr));
    return nullptr;
  }
  IUnknown* raw = nullptr;
  if (const HRESULT hr = GetActiveObject(clsid, nullptr, &raw); FAILED(hr) || !raw) {
    trace(L"GetActiveObject", DWORD(hr));  // also when the CAD is simply not running
    return nullptr;
  }
  UnknownPtr unknown(raw);
  IDispatch* disp = nullptr;
  if (FAILED(unknown.get()->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&disp))) || !disp) return nullptr;
  return std::make_unique<DispatchObject>(DispatchPtr(disp));
}

}  // namespace quenlit::win
