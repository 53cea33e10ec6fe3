#include "WindowsFakeDispatch.h"

#include <algorithm>
#include <cwctype>

namespace kelvor::test {

namespace {

std::wstring folded(std::wstring name) {
    std::transform(name.begin(), name.end(), name.begin(),
                   [](wchar_t c) { return static_cast<wchar_t>(std::towlower(c)); });
    return name;
}

class FakeDispatch final : public IDispatch {
public:
    FakeDispatch(std::wstring type, std::shared_ptr<FakeLog> log, FakeHandler handler)
        : type_(std::move(type)), log_(std::move(log)), handler_(std::move(handler)) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch)) {
            *out = static_cast<IDispatch*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --references_;
        if (left == 0) {
            delete this; // a COM object ends itself with its last reference
        }
        return left;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override {
        *info = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID,
                                            DISPID* ids) override {
        ++log_->lookups;
        for (UINT i = 0; i < count; ++i) {
            const std::wstring key = folded(names[i]);
            auto found = log_->ids.find(key);
            if (found == log_->ids.end()) {
                found = log_->ids.emplace(key, static_cast<DISPID>(log_->ids.size() + 1)).first;
                log_->names[found->second] = names[i];
            }
            ids[i] = found->second;
        }
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params,
                                     VARIANT* result, EXCEPINFO* info, UINT*) override {
        FakeCall call;
        call.type = type_;
        call.member = log_->names[id];
        call.flags = flags;
        std::string text(call.member.begin(), call.member.end());
        std::string arguments;
        const UINT named = params->cNamedArgs;
        for (UINT i = params->cArgs; i > named; --i) {
            com::Variant v;
            VariantCopy(v.get(), &params->rgvarg[i - 1]);
            arguments += (arguments.empty() ? "" : ",") + typeName(v.type());
            call.args.push_back(v);
        }
        for (UINT i = 0; i < named; ++i) {
            com::Variant v;
            VariantCopy(v.get(), &params->rgvarg[i]);
            const DISPID nameId = params->rgdispidNamedArgs[i];
            const std::wstring name = nameId == DISPID_PROPERTYPUT ? L"=" : log_->names[nameId];
            if (nameId != DISPID_PROPERTYPUT) {
                arguments += (arguments.empty() ? "" : ",") +
                             std::string(name.begin(), name.end()) + ":" + typeName(v.type());
            }
            call.named.emplace_back(name, v);
        }
        if (call.isPut()) {
            const bool putArgumentFirst =
                named >= 1 && params->rgdispidNamedArgs[0] == DISPID_PROPERTYPUT;
            text += putArgumentFirst ? "=" + typeName(params->rgvarg[0].vt) : "=<no put id>";
            call.args.push_back(call.named.front().second);
            call.named.erase(call.named.begin());
        } else {
            text += "(" + arguments + ")";
        }
        log_->calls.push_back(std::string(type_.begin(), type_.end()) + "." + text);
        return handler_(call, result, info);
    }

private:
    ULONG references_ = 1;
    std::wstring type_;
    std::shared_ptr<FakeLog> log_;
    FakeHandler handler_;
};

} // namespace

com::DispatchPtr makeFakeDispatch(std::wstring type, std::shared_ptr<FakeLog> log,
                                  FakeHandler handler) {
    return com::DispatchPtr::adopt(
        new FakeDispatch(std::move(type), std::move(log), std::move(handler)));
}

std::string typeName(VARTYPE type) {
    switch (type) {
    case VT_EMPTY:
        return "VT_EMPTY";
    case VT_I2:
        return "VT_I2";
    case VT_I4:
        return "VT_I4";
    case VT_R4:
        return "VT_R4";
    case VT_R8:
        return "VT_R8";
    case VT_BOOL:
        return "VT_BOOL";
    case VT_BSTR:
        return "VT_BSTR";
    case VT_DATE:
        return "VT_DATE";
    case VT_DISPATCH:
        return "VT_DISPATCH";
    case VT_ARRAY | VT_VARIANT:
        return "VT_ARRAY|VT_VARIANT";
    default:
        return "VT_" + std::to_string(type);
    }
}

void answerObject(VARIANT* result, const com::DispatchPtr& object) {
    if (result != nullptr) {
        result->vt = VT_DISPATCH;
        result->pdispVal = object.get();
        object->AddRef();
    }
}

HRESULT raise(EXCEPINFO* info, int number, const std::wstring& source,
              const std::wstring& description) {
    info->wCode = 0;
    info->scode = MAKE_HRESULT(SEVERITY_ERROR, FACILITY_CONTROL, number);
    info->bstrSource = SysAllocString(source.c_str());
    info->bstrDescription = SysAllocString(description.c_str());
    return DISP_E_EXCEPTION;
}

} // namespace kelvor::test
