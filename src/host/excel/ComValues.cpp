#include "host/excel/ComValues.h"

#include <windows.h>

#include <cmath>
#include <limits>

namespace kelvor::com {

namespace {

// The interface's text is UTF-8; bytes that are not (a tester's own Windows-1252, should
// any reach here unconverted) are taken as that code page rather than lost.
constexpr UINT FallbackCodePage = 1252;

xl::HostError typeMismatch() {
    return xl::programError(xl::ErrTypeMismatch);
}

} // namespace

std::wstring widen(const std::string& text) {
    if (text.empty()) {
        return {};
    }
    const int size = static_cast<int>(text.size());
    UINT codePage = CP_UTF8;
    DWORD flags = MB_ERR_INVALID_CHARS;
    int n = MultiByteToWideChar(codePage, flags, text.data(), size, nullptr, 0);
    if (n == 0) {
        codePage = FallbackCodePage;
        flags = 0;
        n = MultiByteToWideChar(codePage, flags, text.data(), size, nullptr, 0);
    }
    std::wstring wide(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(codePage, flags, text.data(), size, wide.data(), n);
    return wide;
}

std::string narrow(const wchar_t* text, std::size_t length) {
    if (length == 0) {
        return {};
    }
    const int size = static_cast<int>(length);
    const int n = WideCharToMultiByte(CP_UTF8, 0, text, size, nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, size, bytes.data(), n, nullptr, nullptr);
    return bytes;
}

Variant i2(std::int16_t value) {
    Variant v;
    v.get()->vt = VT_I2;
    v.get()->iVal = value;
    return v;
}

Variant i4(std::int32_t value) {
    Variant v;
    v.get()->vt = VT_I4;
    v.get()->lVal = value;
    return v;
}

Variant r4(float value) {
    Variant v;
    v.get()->vt = VT_R4;
    v.get()->fltVal = value;
    return v;
}

Variant r8(double value) {
    Variant v;
    v.get()->vt = VT_R8;
    v.get()->dblVal = value;
    return v;
}

Variant boolean(bool value) {
    Variant v;
    v.get()->vt = VT_BOOL;
    v.get()->boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
    return v;
}

Variant text(const std::string& value) {
    return text(widen(value));
}

Variant text(const std::wstring& value) {
    Variant v;
    Bstr s(value);
    v.get()->vt = VT_BSTR;
    v.get()->bstrVal = s.release();
    return v;
}

Variant object(const DispatchPtr& value) {
    Variant v;
    v.get()->vt = VT_DISPATCH;
    v.get()->pdispVal = value.get();
    if (value) {
        value->AddRef();
    }
    return v;
}

Variant wholePoints(double points) {
    const double whole = std::trunc(points);
    if (whole == points && whole >= std::numeric_limits<std::int16_t>::min() &&
        whole <= std::numeric_limits<std::int16_t>::max()) {
        return i2(static_cast<std::int16_t>(whole));
    }
    return r8(points);
}

Variant fromCell(const xl::Variant& value) {
    if (const auto* number = std::get_if<double>(&value)) {
        return r8(*number);
    }
    if (const auto* s = std::get_if<std::string>(&value)) {
        return text(*s);
    }
    if (const auto* b = std::get_if<bool>(&value)) {
        return boolean(*b);
    }
    if (const auto* date = std::get_if<xl::Date>(&value)) {
        Variant v;
        v.get()->vt = VT_DATE;
        v.get()->date = date->serial;
        return v;
    }
    return {};
}

xl::Variant toCell(const VARIANT& value) {
    switch (value.vt) {
    case VT_EMPTY:
        return std::monostate{};
    case VT_R8:
        return value.dblVal;
    case VT_R4:
        return static_cast<double>(value.fltVal);
    case VT_I2:
        return static_cast<double>(value.iVal);
    case VT_I4:
        return static_cast<double>(value.lVal);
    case VT_CY: // a currency cell: four decimals held as an integer
        return static_cast<double>(value.cyVal.int64) / 10000.0;
    case VT_BSTR:
        return value.bstrVal == nullptr ? std::string()
                                        : narrow(value.bstrVal, SysStringLen(value.bstrVal));
    case VT_BOOL:
        return value.boolVal != VARIANT_FALSE;
    case VT_DATE:
        return xl::Date{value.date};
    default:
        throw typeMismatch();
    }
}

Variant fieldInfo(const std::vector<std::pair<std::int16_t, std::int16_t>>& columns) {
    // One column's format is the pair itself, Array(1, 1); several are an array of pairs.
    const auto pairOf = [](std::int16_t column, std::int16_t format) {
        SafeArray pair(VT_VARIANT, 2);
        for (LONG k = 0; k < 2; ++k) {
            Variant part = i2(k == 0 ? column : format);
            SafeArrayPutElement(pair.get(), &k, part.get()); // copies
        }
        Variant item;
        item.get()->vt = VT_ARRAY | VT_VARIANT;
        item.get()->parray = pair.release();
        return item;
    };
    if (columns.size() == 1) {
        return pairOf(columns[0].first, columns[0].second);
    }
    SafeArray outer(VT_VARIANT, static_cast<ULONG>(columns.size()));
    for (LONG i = 0; i < static_cast<LONG>(columns.size()); ++i) {
        const auto& [column, format] = columns[static_cast<std::size_t>(i)];
        Variant item = pairOf(column, format);
        SafeArrayPutElement(outer.get(), &i, item.get());
    }
    Variant v;
    v.get()->vt = VT_ARRAY | VT_VARIANT;
    v.get()->parray = outer.release();
    return v;
}

std::int32_t toInt32(const VARIANT& value) {
    Variant converted;
    if (FAILED(VariantChangeType(converted.get(), const_cast<VARIANT*>(&value), 0, VT_I4))) {
        throw typeMismatch();
    }
    return converted.get()->lVal;
}

std::string toText(const VARIANT& value) {
    Variant converted;
    if (FAILED(VariantChangeType(converted.get(), const_cast<VARIANT*>(&value), 0, VT_BSTR))) {
        throw typeMismatch();
    }
    const BSTR s = converted.get()->bstrVal;
    return s == nullptr ? std::string() : narrow(s, SysStringLen(s));
}

DispatchPtr toObject(const VARIANT& value) {
    if (value.vt != VT_DISPATCH || value.pdispVal == nullptr) {
        throw xl::programError(xl::ErrObjectNotSet);
    }
    return DispatchPtr::share(value.pdispVal);
}

} // namespace kelvor::com
