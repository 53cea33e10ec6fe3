#include "host/excel/ComObject.h"

#include "host/excel/ComErrors.h"
#include "host/excel/ComValues.h"

namespace kelvor::com {

ComObject::ComObject(DispatchPtr dispatch, std::wstring type, std::shared_ptr<Session> session)
    : dispatch_(std::move(dispatch)), type_(std::move(type)), cache_(std::move(session)) {
    if (!dispatch_) {
        throw xl::programError(xl::ErrObjectNotSet);
    }
}

const std::wstring& ComObject::typeName() const {
    // A sheet may be a worksheet or a chart sheet, whose ids differ: its own type information
    // names it when it has any. Every other wrapper knows its type, and asking would cost the
    // application another round trip for each object.
    if (type_ != L"Sheet") {
        return type_;
    }
    if (resolvedType_.empty()) {
        resolvedType_ = type_;
        Ptr<ITypeInfo> info;
        if (SUCCEEDED(dispatch_->GetTypeInfo(0, LOCALE_USER_DEFAULT, info.put())) && info) {
            BSTR name = nullptr;
            if (SUCCEEDED(info->GetDocumentation(MEMBERID_NIL, &name, nullptr, nullptr, nullptr)) &&
                name != nullptr) {
                resolvedType_ = std::wstring(name, SysStringLen(name));
            }
            SysFreeString(name);
        }
    }
    return resolvedType_;
}

const std::vector<DISPID>& ComObject::ids(const std::wstring& member,
                                          const std::vector<NamedArg>& named) const {
    std::wstring key = typeName() + L"." + member;
    for (const NamedArg& arg : named) {
        key += L":" + arg.name;
    }
    auto found = cache_->ids.find(key);
    if (found != cache_->ids.end()) {
        return found->second;
    }
    std::vector<std::wstring> names{member};
    for (const NamedArg& arg : named) {
        names.push_back(arg.name);
    }
    std::vector<LPOLESTR> pointers;
    for (std::wstring& name : names) {
        pointers.push_back(name.data());
    }
    std::vector<DISPID> dispids(names.size(), DISPID_UNKNOWN);
    ++cache_->lookups;
    const HRESULT hr =
        dispatch_->GetIDsOfNames(IID_NULL, pointers.data(), static_cast<UINT>(pointers.size()),
                                 LOCALE_USER_DEFAULT, dispids.data());
    if (FAILED(hr)) {
        throw fromResult(hr);
    }
    return cache_->ids.emplace(std::move(key), std::move(dispids)).first->second;
}

Variant ComObject::invoke(const std::wstring& member, WORD flags, std::vector<Variant> args,
                          std::vector<NamedArg> named) const {
    std::vector<DISPID> dispids = ids(member, named);
    // Named arguments come first; positional ones follow, last first.
    std::vector<VARIANT> slots;
    for (NamedArg& arg : named) {
        slots.push_back(*arg.value.get());
    }
    for (auto it = args.rbegin(); it != args.rend(); ++it) {
        slots.push_back(*it->get());
    }
    std::vector<DISPID> namedIds(dispids.begin() + 1, dispids.end());
    if (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) {
        namedIds.insert(namedIds.begin(), DISPID_PROPERTYPUT);
    }
    DISPPARAMS params{slots.data(), namedIds.data(), static_cast<UINT>(slots.size()),
                      static_cast<UINT>(namedIds.size())};
    Variant result;
    EXCEPINFO info{};
    UINT badArgument = 0;
    const HRESULT hr = dispatch_->Invoke(dispids[0], IID_NULL, LOCALE_USER_DEFAULT, flags, &params,
                                         result.get(), &info, &badArgument);
    // `slots` only borrowed the values; the Variants still own them.
    if (hr == DISP_E_EXCEPTION) {
        throw fromException(info);
    }
    if (FAILED(hr)) {
        throw fromResult(hr);
    }
    return result;
}

Variant ComObject::get(const std::wstring& member, std::vector<Variant> args) const {
    return invoke(member, DISPATCH_PROPERTYGET | DISPATCH_METHOD, std::move(args), {});
}

void ComObject::put(const std::wstring& member, Variant value) const {
    std::vector<Variant> args;
    args.push_back(std::move(value));
    invoke(member, DISPATCH_PROPERTYPUT, std::move(args), {});
}

Variant ComObject::call(const std::wstring& member, std::vector<Variant> args,
                        std::vector<NamedArg> named) const {
    return invoke(member, DISPATCH_METHOD | DISPATCH_PROPERTYGET, std::move(args),
                  std::move(named));
}

ComObject ComObject::child(const std::wstring& member, const std::wstring& type,
                           std::vector<Variant> args, std::vector<NamedArg> named) const {
    Variant answer = call(member, std::move(args), std::move(named));
    return wrap(toObject(*answer.get()), type);
}

ComObject ComObject::wrap(DispatchPtr dispatch, const std::wstring& type) const {
    return ComObject(std::move(dispatch), type, cache_);
}

} // namespace kelvor::com
