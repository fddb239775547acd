// A stand-in for the CAD program, built only for the end-to-end tests. It
// registers an application class under a test identifier in the prefix's
// machine-wide classes, puts its application object into the running object
// table and shows a top-level window. The object answers the members the
// program uses: HWND (that window), ActiveDocument, and on the document
// SendCommand, whose text is appended to the log file byte for byte (UTF-16 LE).
//
//   standin_cad LOG [options]
//   --minimized      start minimized
//   --reject         refuse every incoming call (SERVERCALL_REJECTED)
//   --lack MEMBER    answer no such member (HWND, ActiveDocument or SendCommand)
//   --hwnd-i4        give HWND as a 32-bit integer instead of a 64-bit one
//   --log-keys       log an Esc that reaches the window as the character 27
#include <windows.h>
#include <objbase.h>
#include <oleauto.h>

#include <string>

namespace {

constexpr wchar_t kProgId[] = L"QuenlitTest.StandInCad";
constexpr wchar_t kClsidText[] = L"{6A0F3D52-7C1B-4E8A-9A44-2B7D0C5E9F13}";
constexpr CLSID kClsid = {0x6A0F3D52, 0x7C1B, 0x4E8A, {0x9A, 0x44, 0x2B, 0x7D, 0x0C, 0x5E, 0x9F, 0x13}};
constexpr wchar_t kClass[] = L"QuenlitStandInCad";

enum : DISPID { kIdHwnd = 1, kIdActiveDocument = 2, kIdSendCommand = 3 };

struct Options {
  std::wstring log, lack;
  bool minimized = false, reject = false, hwndI4 = false, logKeys = false;
} g;
HWND g_main;

void appendLog(const void* data, DWORD size) {
  HANDLE h = CreateFileW(g.log.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                         nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  WriteFile(h, data, size, &written, nullptr);
  CloseHandle(h);
}

// The application object and its document: one class, two roles.
class CadObject final : public IDispatch {
 public:
  explicit CadObject(bool document) : document_(document) {}

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch)) {
      *out = static_cast<IDispatch*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ULONG(InterlockedIncrement(&refs_)); }
  ULONG STDMETHODCALLTYPE Release() override {
    const LONG n = InterlockedDecrement(&refs_);
    if (n == 0) delete this;
    return ULONG(n);
  }

  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* n) override {
    *n = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }

  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override {
    if (count != 1) return DISP_E_UNKNOWNNAME;
    struct Member {
      const wchar_t* name;
      DISPID id;
      bool onDocument;
    };
    const Member members[] = {
        {L"HWND", kIdHwnd, false}, {L"ActiveDocument", kIdActiveDocument, false}, {L"SendCommand", kIdSendCommand, true}};
    for (const Member& m : members) {
      if (_wcsicmp(names[0], m.name) != 0 || m.onDocument != document_ || g.lack == m.name) continue;
      ids[0] = m.id;
      return S_OK;
    }
    ids[0] = DISPID_UNKNOWN;
    return DISP_E_UNKNOWNNAME;
  }

  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT* result, EXCEPINFO*,
                                   UINT*) override {
    switch (id) {
      case kIdHwnd:
        if (!result) return E_POINTER;
        VariantInit(result);
        if (g.hwndI4) {
          result->vt = VT_I4;
          result->lVal = LONG(LONG_PTR(g_main));
        } else {
          result->vt = VT_I8;
          result->llVal = LONGLONG(LONG_PTR(g_main));
        }
        return S_OK;
      case kIdActiveDocument:
        if (!result) return E_POINTER;
        VariantInit(result);
        result->vt = VT_DISPATCH;
        result->pdispVal = new CadObject(true);
        return S_OK;
      case kIdSendCommand: {
        if (!params || params->cArgs != 1) return DISP_E_BADPARAMCOUNT;
        VARIANT text;
        VariantInit(&text);
        if (FAILED(VariantChangeType(&text, &params->rgvarg[0], 0, VT_BSTR))) return DISP_E_TYPEMISMATCH;
        appendLog(text.bstrVal, SysStringByteLen(text.bstrVal));
        VariantClear(&text);
        if (result) VariantInit(result);
        return S_OK;
      }
    }
    return DISP_E_MEMBERNOTFOUND;
  }

 private:
  ~CadObject() = default;
  LONG refs_ = 1;
  bool document_;
};

// A CAD that refuses every call, as one that is busy in a way it will not wait out.
class RejectingFilter final : public IMessageFilter {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IMessageFilter)) {
      *out = static_cast<IMessageFilter*>(this);
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }  // static lifetime
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  DWORD STDMETHODCALLTYPE HandleInComingCall(DWORD, HTASK, DWORD, LPINTERFACEINFO) override {
    return SERVERCALL_REJECTED;
  }
  DWORD STDMETHODCALLTYPE RetryRejectedCall(HTASK, DWORD, DWORD) override { return DWORD(-1); }
  DWORD STDMETHODCALLTYPE MessagePending(HTASK, DWORD, DWORD) override { return PENDINGMSG_WAITDEFPROCESS; }
} g_rejecting;

bool registerClassId() {
  const std::wstring progKey = std::wstring(L"Software\\Classes\\") + kProgId + L"\\CLSID";
  const std::wstring clsidKey = std::wstring(L"Software\\Classes\\CLSID\\") + kClsidText + L"\\ProgID";
  auto set = [](const std::wstring& key, const wchar_t* value) {
    return RegSetKeyValueW(HKEY_LOCAL_MACHINE, key.c_str(), nullptr, REG_SZ, value,
                           DWORD((wcslen(value) + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
  };
  return set(progKey, kClsidText) && set(clsidKey, kProgId);
}

LRESULT CALLBACK mainProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_KEYDOWN && wp == VK_ESCAPE && g.logKeys) {
    const wchar_t esc = 27;
    appendLog(&esc, sizeof esc);
    return 0;
  }
  if (msg == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(h, msg, wp, lp);
}

bool parse(int argc, wchar_t** argv) {
  if (argc < 2) return false;
  g.log = argv[1];
  for (int i = 2; i < argc; ++i) {
    const std::wstring a = argv[i];
    if (a == L"--minimized") g.minimized = true;
    else if (a == L"--reject") g.reject = true;
    else if (a == L"--hwnd-i4") g.hwndI4 = true;
    else if (a == L"--log-keys") g.logKeys = true;
    else if (a == L"--lack" && i + 1 < argc) g.lack = argv[++i];
    else return false;
  }
  return true;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  if (!argv || !parse(argc, argv)) return 2;
  LocalFree(argv);
  if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return 3;
  if (!registerClassId()) return 4;
  if (g.reject) CoRegisterMessageFilter(&g_rejecting, nullptr);

  WNDCLASSEXW wc{sizeof wc};
  wc.lpfnWndProc = mainProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = kClass;
  RegisterClassExW(&wc);
  g_main = CreateWindowExW(0, kClass, L"StandIn CAD", WS_OVERLAPPEDWINDOW, 200, 150, 500, 400, nullptr, nullptr,
                           instance, nullptr);
  if (!g_main) return 1;

  // In the table before the window shows: a test that sees the window can call it.
  CadObject* app = new CadObject(false);
  DWORD cookie = 0;
  const HRESULT hr = RegisterActiveObject(app, kClsid, ACTIVEOBJECT_STRONG, &cookie);
  app->Release();
  if (FAILED(hr)) return 5;
  ShowWindow(g_main, g.minimized ? SW_SHOWMINNOACTIVE : SW_SHOWNOACTIVATE);

  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  RevokeActiveObject(cookie, nullptr);
  if (g.reject) CoRegisterMessageFilter(nullptr, nullptr);
  CoUninitialize();
  return 0;
}
