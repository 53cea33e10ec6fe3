#pragma once

// Owning holders for the COM and OLE Automation resources the back end hands around: an
// interface reference, a BSTR, a VARIANT and a SAFEARRAY. Each frees what it holds once.

#include <oaidl.h>
#include <objbase.h>

#include <string>
#include <utility>

namespace kelvor::com {

// One counted reference to an interface.
template <typename I> class Ptr {
public:
    Ptr() = default;
    // Takes over a reference the caller already counted (an out parameter's).
    static Ptr adopt(I* p) {
        Ptr r;
        r.p_ = p;
        return r;
    }
    // Adds a reference of its own.
    static Ptr share(I* p) {
        if (p != nullptr) {
            p->AddRef();
        }
        return adopt(p);
    }
    Ptr(const Ptr& o) : p_(o.p_) {
        if (p_ != nullptr) {
            p_->AddRef();
        }
    }
    Ptr(Ptr&& o) noexcept : p_(std::exchange(o.p_, nullptr)) {}
    Ptr& operator=(Ptr o) noexcept {
        std::swap(p_, o.p_);
        return *this;
    }
    ~Ptr() { reset(); }
    void reset() {
        if (I* p = std::exchange(p_, nullptr)) {
            p->Release();
        }
    }
    I* get() const { return p_; }
    I* operator->() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }
    // For an out parameter: drops what it held and lends its slot.
    I** put() {
        reset();
        return &p_;
    }

private:
    I* p_ = nullptr;
};

using DispatchPtr = Ptr<IDispatch>;

class Bstr {
public:
    Bstr() = default;
    explicit Bstr(const std::wstring& text)
        : s_(SysAllocStringLen(text.data(), static_cast<UINT>(text.size()))) {}
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;
    ~Bstr() { SysFreeString(s_); }
    BSTR get() const { return s_; }
    // Hands the string over to a VARIANT or a callee that frees it.
    BSTR release() { return std::exchange(s_, nullptr); }

private:
    BSTR s_ = nullptr;
};

class Variant {
public:
    Variant() { VariantInit(&v_); }
    Variant(const Variant& o) : Variant() { VariantCopy(&v_, const_cast<VARIANT*>(&o.v_)); }
    Variant& operator=(const Variant& o) {
        if (this != &o) {
            VariantCopy(&v_, const_cast<VARIANT*>(&o.v_));
        }
        return *this;
    }
    ~Variant() { VariantClear(&v_); }
    VARIANT* get() { return &v_; }
    const VARIANT* get() const { return &v_; }
    VARTYPE type() const { return v_.vt; }

private:
    VARIANT v_;
};

class SafeArray {
public:
    // One dimension, 0-based as the automation language's Array() makes them.
    SafeArray(VARTYPE type, ULONG count) {
        SAFEARRAYBOUND bounds{count, 0};
        a_ = SafeArrayCreate(type, 1, &bounds);
    }
    SafeArray(const SafeArray&) = delete;
    SafeArray& operator=(const SafeArray&) = delete;
    ~SafeArray() {
        if (a_ != nullptr) {
            SafeArrayDestroy(a_);
        }
    }
    SAFEARRAY* get() const { return a_; }
    SAFEARRAY* release() { return std::exchange(a_, nullptr); }

private:
    SAFEARRAY* a_ = nullptr;
};

} // namespace kelvor::com
