#include "platform/office_probe.h"

#include <windows.h>
#include <oleauto.h>

#include "platform/text.h"

namespace hm {
namespace {

// COM for the calling thread for as long as the probe runs. A thread that already has COM in
// another model keeps it; the probe works in either.
class ComScope {
public:
    ComScope() : result_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ~ComScope() {
        if (SUCCEEDED(result_)) {
            CoUninitialize();
        }
    }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;

private:
    HRESULT result_;
};

class DispatchPtr {
public:
    DispatchPtr() = default;
    ~DispatchPtr() {
        if (object_ != nullptr) {
            object_->Release();
        }
    }
    DispatchPtr(const DispatchPtr&) = delete;
    DispatchPtr& operator=(const DispatchPtr&) = delete;

    IDispatch** put() { return &object_; }
    IDispatch* get() const { return object_; }

private:
    IDispatch* object_ = nullptr;
};

HRESULT Invoke(IDispatch* object, const wchar_t* member, WORD kind, VARIANT* result) {
    DISPID id = 0;
    auto* name = const_cast<LPOLESTR>(member);
    HRESULT hr = object->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id);
    if (FAILED(hr)) {
        return hr;
    }
    DISPPARAMS none{nullptr, nullptr, 0, 0};
    return object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, kind, &none, result, nullptr, nullptr);
}

}  // namespace

OfficeProbeResult WordAutomationProbe::Probe() {
    OfficeProbeResult result;
    ComScope com;
    CLSID clsid;
    if (FAILED(CLSIDFromProgID(L"Word.Application.8", &clsid))) {
        return result;
    }
    DispatchPtr word;
    if (FAILED(CoCreateInstance(clsid, nullptr, CLSCTX_LOCAL_SERVER | CLSCTX_INPROC_SERVER,
                                IID_IDispatch, reinterpret_cast<void**>(word.put())))) {
        return result;
    }
    result.created = true;
    VARIANT version;
    VariantInit(&version);
    if (SUCCEEDED(Invoke(word.get(), L"Version", DISPATCH_PROPERTYGET, &version)) &&
        SUCCEEDED(VariantChangeType(&version, &version, 0, VT_BSTR)) &&
        version.bstrVal != nullptr) {
        result.version = Narrow(std::wstring_view(version.bstrVal, SysStringLen(version.bstrVal)));
    }
    VariantClear(&version);
    // Word started by automation stays running without a window unless told to quit.
    VARIANT ignored;
    VariantInit(&ignored);
    Invoke(word.get(), L"Quit", DISPATCH_METHOD, &ignored);
    VariantClear(&ignored);
    return result;
}

}  // namespace hm
