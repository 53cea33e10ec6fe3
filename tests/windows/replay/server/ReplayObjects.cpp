#include "ReplayObjects.h"

#include "Replay.h"

#include <atomic>
#include <map>

namespace kelvor::test::replay {

namespace {

// The server ends when the last object goes.
std::atomic<long> live{0};
std::map<IUnknown*, int> ids; // by COM identity

// Type information that can say only its name: what the client asks a sheet for.
class NamedTypeInfo : public ITypeInfo {
public:
    explicit NamedTypeInfo(std::wstring name) : name_(std::move(name)) {}
    virtual ~NamedTypeInfo() = default;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
        if (riid == IID_IUnknown || riid == IID_ITypeInfo) {
            *out = static_cast<ITypeInfo*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG n = --refs_;
        if (n == 0) {
            delete this;
        }
        return n;
    }
    HRESULT STDMETHODCALLTYPE GetDocumentation(MEMBERID id, BSTR* name, BSTR* doc, DWORD* context,
                                               BSTR* helpFile) override {
        if (id != MEMBERID_NIL) {
            return TYPE_E_ELEMENTNOTFOUND;
        }
        if (name != nullptr) {
            *name = SysAllocStringLen(name_.data(), static_cast<UINT>(name_.size()));
        }
        if (doc != nullptr) {
            *doc = nullptr;
        }
        if (context != nullptr) {
            *context = 0;
        }
        if (helpFile != nullptr) {
            *helpFile = nullptr;
        }
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeAttr(TYPEATTR**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetTypeComp(ITypeComp**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetFuncDesc(UINT, FUNCDESC**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetVarDesc(UINT, VARDESC**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetNames(MEMBERID, BSTR*, UINT, UINT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetRefTypeOfImplType(UINT, HREFTYPE*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetImplTypeFlags(UINT, INT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(LPOLESTR*, UINT, MEMBERID*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Invoke(PVOID, MEMBERID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                     UINT*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetDllEntry(MEMBERID, INVOKEKIND, BSTR*, BSTR*, WORD*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetRefTypeInfo(HREFTYPE, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE AddressOfMember(MEMBERID, INVOKEKIND, PVOID*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown*, REFIID, PVOID*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetMops(MEMBERID, BSTR*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetContainingTypeLib(ITypeLib**, UINT*) override { return E_NOTIMPL; }
    void STDMETHODCALLTYPE ReleaseTypeAttr(TYPEATTR*) override {}
    void STDMETHODCALLTYPE ReleaseFuncDesc(FUNCDESC*) override {}
    void STDMETHODCALLTYPE ReleaseVarDesc(VARDESC*) override {}

private:
    std::atomic<ULONG> refs_{1};
    std::wstring name_;
};

class ReplayObject : public IDispatch {
public:
    ReplayObject(Replay& replay, int id, std::wstring type)
        : replay_(replay), id_(id), type_(std::move(type)) {
        ++live;
        ids[this] = id;
    }
    virtual ~ReplayObject() {
        ids.erase(this);
        if (--live == 0) {
            replay_.lastObjectGone();
        }
    }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
        if (riid == IID_IUnknown || riid == IID_IDispatch) {
            *out = static_cast<IDispatch*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG n = --refs_;
        if (n == 0) {
            delete this;
        }
        return n;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        *count = 1;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID, ITypeInfo** info) override {
        if (index != 0) {
            *info = nullptr;
            return DISP_E_BADINDEX;
        }
        ++replay_.typeInfoAnswers;
        *info = new NamedTypeInfo(type_);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID,
                                            DISPID* out) override {
        for (UINT i = 0; i < count; ++i) {
            out[i] = replay_.idOf(names[i]);
        }
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID member, REFIID, LCID, WORD flags, DISPPARAMS* params,
                                     VARIANT* result, EXCEPINFO* info, UINT*) override {
        return replay_.invoke(id_, member, flags, *params, result, info);
    }

private:
    std::atomic<ULONG> refs_{1};
    Replay& replay_;
    int id_;
    std::wstring type_;
};

} // namespace

IDispatch* makeReplayObject(Replay& replay, int id, std::wstring type) {
    return new ReplayObject(replay, id, std::move(type));
}

int replayObjectId(IUnknown* object) {
    if (object == nullptr) {
        return 0;
    }
    IUnknown* identity = nullptr;
    if (FAILED(object->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&identity)))) {
        return 0;
    }
    const auto found = ids.find(identity);
    identity->Release();
    return found == ids.end() ? 0 : found->second;
}

} // namespace kelvor::test::replay
