#include "platform/win32/management_wmi_win32.h"

#include <objbase.h>
#include <oleauto.h>
#include <wbemidl.h>

#include "platform/win32/text_win32.h"

namespace platform {

namespace {

const UINT kInstanceMessage = WM_APP + 1;
// How long one instance of a synchronous query may take before the query counts as failed.
const long kNextTimeoutMs = 10000;

template <class T>
struct ComPtr {
    T* p = nullptr;
    ComPtr() = default;
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    ~ComPtr() {
        if (p) p->Release();
    }
    T** out() { return &p; }
    T* operator->() const { return p; }
    explicit operator bool() const { return p != nullptr; }
};

struct Bstr {
    BSTR b;
    explicit Bstr(const std::wstring& s) : b(SysAllocString(s.c_str())) {}
    ~Bstr() { SysFreeString(b); }
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;
};

// A fresh connection to root\cimv2, with the security a WMI client needs to read.
bool Connect(ComPtr<IWbemServices>& services) {
    ComPtr<IWbemLocator> locator;
    if (FAILED(CoCreateInstance(CLSID_WbemLocator, nullptr, CLSCTX_INPROC_SERVER, IID_IWbemLocator,
                                reinterpret_cast<void**>(locator.out())))) {
        return false;
    }
    Bstr ns(L"ROOT\\CIMV2");
    if (FAILED(locator->ConnectServer(ns.b, nullptr, nullptr, nullptr, 0, nullptr, nullptr, services.out()))) {
        return false;
    }
    CoSetProxyBlanket(services.p, RPC_C_AUTHN_WINNT, RPC_C_AUTHZ_NONE, nullptr, RPC_C_AUTHN_LEVEL_CALL,
                      RPC_C_IMP_LEVEL_IMPERSONATE, nullptr, EOAC_NONE);
    return true;
}

// One property of an instance: its value in decimal or as text, null, or missing.
Property Read(IWbemClassObject* object, const std::string& name) {
    VARIANT value;
    VariantInit(&value);
    const std::wstring wide = Widen(name);
    if (FAILED(object->Get(wide.c_str(), 0, &value, nullptr, nullptr))) return Property{};
    Property result = Property::Null();
    if (value.vt == VT_BSTR) {
        result = Property::Of(Narrow(value.bstrVal ? value.bstrVal : L""));
    } else if (value.vt != VT_NULL && value.vt != VT_EMPTY) {
        // Numbers in the invariant locale, so that they read back the same everywhere.
        VARIANT text;
        VariantInit(&text);
        if (SUCCEEDED(VariantChangeTypeEx(&text, &value, LOCALE_INVARIANT, 0, VT_BSTR))) {
            result = Property::Of(Narrow(text.bstrVal ? text.bstrVal : L""));
        } else {
            result = Property{};
        }
        VariantClear(&text);
    }
    VariantClear(&value);
    return result;
}

ManagementRecord RecordOf(IWbemClassObject* object, const std::vector<std::string>& properties) {
    ManagementRecord record;
    for (const std::string& name : properties) record[name] = Read(object, name);
    return record;
}

std::optional<std::vector<ManagementRecord>> Query(const std::wstring& wql, const std::vector<std::string>& properties) {
    ComPtr<IWbemServices> services;
    if (!Connect(services)) return std::nullopt;
    ComPtr<IEnumWbemClassObject> instances;
    Bstr language(L"WQL"), query(wql);
    if (FAILED(services->ExecQuery(language.b, query.b, WBEM_FLAG_FORWARD_ONLY | WBEM_FLAG_RETURN_IMMEDIATELY, nullptr,
                                   instances.out()))) {
        return std::nullopt;
    }
    CoSetProxyBlanket(instances.p, RPC_C_AUTHN_WINNT, RPC_C_AUTHZ_NONE, nullptr, RPC_C_AUTHN_LEVEL_CALL,
                      RPC_C_IMP_LEVEL_IMPERSONATE, nullptr, EOAC_NONE);
    std::vector<ManagementRecord> records;
    for (;;) {
        ComPtr<IWbemClassObject> object;
        ULONG returned = 0;
        const HRESULT hr = instances->Next(kNextTimeoutMs, 1, object.out(), &returned);
        if (hr == WBEM_S_FALSE && returned == 0) break;  // the end of the instances
        if (FAILED(hr) || hr == WBEM_S_TIMEDOUT || returned == 0) return std::nullopt;
        records.push_back(RecordOf(object.p, properties));
    }
    return records;
}

// Receives the instances of an asynchronous query on a thread of WMI's and posts one message
// per instance to the user-interface thread.
class InstanceSink : public IWbemObjectSink {
public:
    InstanceSink(HWND window, WPARAM query) : window_(window), query_(query) {}
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&refs_)); }
    ULONG STDMETHODCALLTYPE Release() override {
        const LONG left = InterlockedDecrement(&refs_);
        if (left == 0) delete this;
        return static_cast<ULONG>(left);
    }
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
        if (riid == IID_IUnknown || riid == IID_IWbemObjectSink) {
            *object = static_cast<IWbemObjectSink*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    HRESULT STDMETHODCALLTYPE Indicate(LONG count, IWbemClassObject**) override {
        for (LONG i = 0; i < count; ++i) PostMessageW(window_, kInstanceMessage, query_, 0);
        return WBEM_S_NO_ERROR;
    }
    HRESULT STDMETHODCALLTYPE SetStatus(LONG, HRESULT, BSTR, IWbemClassObject*) override { return WBEM_S_NO_ERROR; }

private:
    LONG refs_ = 1;
    HWND window_;
    WPARAM query_;
};

bool GetByPath(IWbemServices* services, const std::wstring& path, ComPtr<IWbemClassObject>& found) {
    if (path.empty()) return false;
    Bstr objectPath(path);
    return SUCCEEDED(services->GetObject(objectPath.b, 0, nullptr, found.out(), nullptr)) && found;
}

// "Class=Value" names the instance of a class with a single key by that key's value; Wine's
// service reads only the full form "Class.Key=Value". Failing that form, the instance is the one
// whose relative path ends in "=Value" (or "=\"Value\"" for a text key).
bool FindByKeyValue(IWbemServices* services, const std::wstring& path, ComPtr<IWbemClassObject>& found) {
    const size_t equals = path.find(L'=');
    if (equals == std::wstring::npos || path.find(L'.') < equals) return false;
    const std::wstring className = path.substr(0, equals), value = path.substr(equals + 1);
    ComPtr<IEnumWbemClassObject> instances;
    Bstr language(L"WQL"), query(L"SELECT * FROM " + className);
    if (FAILED(services->ExecQuery(language.b, query.b, WBEM_FLAG_FORWARD_ONLY | WBEM_FLAG_RETURN_IMMEDIATELY, nullptr,
                                   instances.out()))) {
        return false;
    }
    const std::wstring endings[] = {L"=" + value, L"=\"" + value + L"\""};
    for (;;) {
        ComPtr<IWbemClassObject> object;
        ULONG returned = 0;
        if (instances->Next(kNextTimeoutMs, 1, object.out(), &returned) != WBEM_S_NO_ERROR || returned == 0) return false;
        VARIANT relPath;
        VariantInit(&relPath);
        bool match = false;
        if (SUCCEEDED(object->Get(L"__RELPATH", 0, &relPath, nullptr, nullptr)) && relPath.vt == VT_BSTR && relPath.bstrVal) {
            const std::wstring rel = relPath.bstrVal;
            for (const std::wstring& end : endings) {
                match |= rel.size() > end.size() && rel.compare(rel.size() - end.size(), end.size(), end) == 0 &&
                         rel.find(L',') == std::wstring::npos;
            }
        }
        VariantClear(&relPath);
        if (match) {
            found.p = object.p;
            object.p = nullptr;
            return true;
        }
    }
}

const wchar_t* const kWindowClass = L"TAVDashboardManagementSink";

}  // namespace

ManagementWmi::ManagementWmi() {
    const HRESULT init = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    comReady_ = SUCCEEDED(init);
    if (comReady_) {
        // Lets WMI call the asynchronous sink back; fails harmlessly when already set.
        CoInitializeSecurity(nullptr, -1, nullptr, nullptr, RPC_C_AUTHN_LEVEL_DEFAULT, RPC_C_IMP_LEVEL_IMPERSONATE,
                             nullptr, EOAC_NONE, nullptr);
    }
    WNDCLASSW wc{};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kWindowClass;
    RegisterClassW(&wc);
    window_ = CreateWindowExW(0, kWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
    if (window_) SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

ManagementWmi::~ManagementWmi() {
    for (auto [services, sink] : pendingCalls_) {
        services->CancelAsyncCall(sink);
        sink->Release();
        services->Release();
    }
    if (window_) DestroyWindow(window_);
    if (comReady_) CoUninitialize();
}

LRESULT CALLBACK ManagementWmi::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kInstanceMessage) {
        auto* self = reinterpret_cast<ManagementWmi*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        if (self && wParam < self->handlers_.size()) {
            // A copy: the handler may start another query, which grows the list.
            const std::function<void()> handler = self->handlers_[wParam];
            handler();
        }
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

std::optional<std::vector<ManagementRecord>> ManagementWmi::instancesOf(const std::string& className,
                                                                       const std::vector<std::string>& properties) {
    if (!comReady_) return std::nullopt;
    return Query(L"SELECT * FROM " + Widen(className), properties);
}

bool ManagementWmi::instancesOfAsync(const std::string& className, std::function<void()> onInstance) {
    if (!comReady_ || !window_) return false;
    ComPtr<IWbemServices> services;
    if (!Connect(services)) return false;
    auto* sink = new InstanceSink(window_, handlers_.size());
    Bstr language(L"WQL"), query(L"SELECT * FROM " + Widen(className));
    if (FAILED(services->ExecQueryAsync(language.b, query.b, WBEM_FLAG_BIDIRECTIONAL, nullptr, sink))) {
        sink->Release();
        return false;
    }
    handlers_.push_back(std::move(onInstance));
    pendingCalls_.emplace_back(services.p, sink);
    services.p = nullptr;  // kept by the pending call
    return true;
}

std::optional<ManagementRecord> ManagementWmi::object(const std::string& path, const std::vector<std::string>& properties) {
    if (!comReady_) return std::nullopt;
    ComPtr<IWbemServices> services;
    if (!Connect(services)) return std::nullopt;
    ComPtr<IWbemClassObject> found;
    if (!GetByPath(services.p, Widen(path), found) && !FindByKeyValue(services.p, Widen(path), found)) {
        return std::nullopt;
    }
    return RecordOf(found.p, properties);
}

}  // namespace platform
