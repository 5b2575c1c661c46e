// A stand-in for Word's automation object, for the demo's sandbox only: registered there as
// "Word.Application.8", it answers the "Version" property with the version given at build time
// (-DHM_WORD_VERSION=L"12.0") and accepts "Quit". Nothing else of Word is imitated. It lets the
// demo show the Office items on a machine without Office, through the program's real probe.
#include <windows.h>
#include <oleauto.h>

#include <atomic>

#ifndef HM_WORD_VERSION
#define HM_WORD_VERSION L"12.0"
#endif

namespace {

// {6D1E3B52-6C1F-4E55-9B8A-2F0D4C1A7E01}: the stand-in's own class, never Word's.
const CLSID kStandIn = {
    0x6d1e3b52, 0x6c1f, 0x4e55, {0x9b, 0x8a, 0x2f, 0x0d, 0x4c, 0x1a, 0x7e, 0x01}};

constexpr DISPID kVersion = 1;
constexpr DISPID kQuit = 2;

std::atomic<long> g_objects{0};

class Application final : public IDispatch {
public:
    Application() { ++g_objects; }
    ~Application() { --g_objects; }
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
        if (out == nullptr) {
            return E_POINTER;
        }
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch)) {
            *out = static_cast<IDispatch*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(++refs_); }
    ULONG STDMETHODCALLTYPE Release() override {
        const long left = --refs_;
        if (left == 0) {
            delete this;
        }
        return static_cast<ULONG>(left);
    }

    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID,
                                            DISPID* ids) override {
        if (count != 1) {
            return DISP_E_UNKNOWNNAME;
        }
        if (lstrcmpiW(names[0], L"Version") == 0) {
            ids[0] = kVersion;
            return S_OK;
        }
        if (lstrcmpiW(names[0], L"Quit") == 0) {
            ids[0] = kQuit;
            return S_OK;
        }
        ids[0] = DISPID_UNKNOWN;
        return DISP_E_UNKNOWNNAME;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS*,
                                     VARIANT* result, EXCEPINFO*, UINT*) override {
        if (id == kVersion && (flags & DISPATCH_PROPERTYGET) != 0) {
            if (result == nullptr) {
                return E_POINTER;
            }
            VariantInit(result);
            result->vt = VT_BSTR;
            result->bstrVal = SysAllocString(HM_WORD_VERSION);
            return S_OK;
        }
        if (id == kQuit && (flags & DISPATCH_METHOD) != 0) {
            return S_OK;
        }
        return DISP_E_MEMBERNOTFOUND;
    }

private:
    std::atomic<long> refs_{1};
};

class Factory final : public IClassFactory {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
        if (out == nullptr) {
            return E_POINTER;
        }
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IClassFactory)) {
            *out = static_cast<IClassFactory*>(this);
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    // One static factory for the life of the module.
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID riid, void** out) override {
        if (outer != nullptr) {
            return CLASS_E_NOAGGREGATION;
        }
        Application* application = new Application();
        const HRESULT hr = application->QueryInterface(riid, out);
        application->Release();
        return hr;
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }
};

Factory g_factory;

}  // namespace

extern "C" __declspec(dllexport) HRESULT STDAPICALLTYPE
    DllGetClassObject(REFCLSID clsid, REFIID riid, void** out) {
    if (!IsEqualCLSID(clsid, kStandIn)) {
        return CLASS_E_CLASSNOTAVAILABLE;
    }
    return g_factory.QueryInterface(riid, out);
}

extern "C" __declspec(dllexport) HRESULT STDAPICALLTYPE DllCanUnloadNow() {
    return g_objects == 0 ? S_OK : S_FALSE;
}
