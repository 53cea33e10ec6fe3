#include "Replay.h"

#include "../ReplayFormat.h"
#include "ReplayObjects.h"

#include <windows.h>

#include <cstdlib>
#include <fstream>

namespace kelvor::test::replay {

namespace {

std::string utf8(const wchar_t* text, std::size_t length) {
    if (length == 0) {
        return {};
    }
    const int size = static_cast<int>(length);
    const int n = WideCharToMultiByte(CP_UTF8, 0, text, size, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, size, out.data(), n, nullptr, nullptr);
    return out;
}

std::wstring wide(const std::string& text) {
    if (text.empty()) {
        return {};
    }
    const int size = static_cast<int>(text.size());
    const int n = MultiByteToWideChar(CP_UTF8, 0, text.data(), size, nullptr, 0);
    std::wstring out(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), size, out.data(), n);
    return out;
}

std::string bstrText(BSTR s) {
    return s == nullptr ? std::string() : utf8(s, SysStringLen(s));
}

// The number after "TYPE:" in an answer.
double numberAfterColon(const std::string& text) {
    return std::strtod(text.c_str() + text.find(':') + 1, nullptr);
}

// The kind of a recorded call: the word after the object.
std::string kindOf(const std::string& call) {
    const std::size_t start = call.find(' ') + 1;
    return call.substr(start, call.find(' ', start) - start);
}

} // namespace

Replay::Replay(ScriptSection section, std::filesystem::path results)
    : section_(std::move(section)), results_(std::move(results)) {}

DISPID Replay::idOf(const wchar_t* name) {
    const auto found = ids_.find(name);
    if (found != ids_.end()) {
        return found->second;
    }
    const DISPID id = static_cast<DISPID>(ids_.size()) + 1;
    ids_.emplace(name, id);
    names_.emplace(id, name);
    return id;
}

std::string Replay::argumentText(const VARIANT& v) const {
    switch (v.vt) {
    case VT_EMPTY:
        return empty();
    case VT_I2:
        return i2(v.iVal);
    case VT_I4:
        return i4(v.lVal);
    case VT_R4:
        return r4(v.fltVal);
    case VT_R8:
        return r8(v.dblVal);
    case VT_BOOL:
        if (v.boolVal != VARIANT_TRUE && v.boolVal != VARIANT_FALSE) {
            return "BOOL:" + std::to_string(v.boolVal); // not what the runtime makes
        }
        return boolean(v.boolVal == VARIANT_TRUE);
    case VT_BSTR:
        return bstr(bstrText(v.bstrVal));
    case VT_DATE:
        return date(v.date);
    case VT_DISPATCH: {
        const int id = replayObjectId(v.pdispVal);
        return id != 0 ? object(id) : (v.pdispVal == nullptr ? "DISPATCH:null" : "DISPATCH:?");
    }
    case VT_VARIANT | VT_BYREF:
        return argumentText(*v.pvarVal);
    case VT_ARRAY | VT_VARIANT: {
        std::vector<std::string> items;
        LONG low = 0;
        LONG high = -1;
        if (SafeArrayGetDim(v.parray) != 1 || FAILED(SafeArrayGetLBound(v.parray, 1, &low)) ||
            FAILED(SafeArrayGetUBound(v.parray, 1, &high))) {
            return "ARRAY:?";
        }
        for (LONG i = low; i <= high; ++i) {
            VARIANT item;
            VariantInit(&item);
            SafeArrayGetElement(v.parray, &i, &item);
            items.push_back(argumentText(item));
            VariantClear(&item);
        }
        return array(items);
    }
    default:
        return "VT_" + std::to_string(v.vt);
    }
}

std::string Replay::actualCall(int object, DISPID member, WORD flags, const DISPPARAMS& params,
                               const std::string& expectedKind) const {
    std::string kind;
    UINT firstPositional = params.cNamedArgs;
    std::vector<std::pair<std::string, std::string>> named;
    if ((flags & DISPATCH_PROPERTYPUT) != 0) {
        kind = "put";
        if (params.cNamedArgs >= 1 && params.rgdispidNamedArgs[0] == DISPID_PROPERTYPUT) {
            firstPositional = 0; // the value stands as the one positional argument
        } else {
            kind = "put-without-DISPID_PROPERTYPUT";
        }
    } else if (expectedKind == "get" && (flags & DISPATCH_PROPERTYGET) != 0) {
        kind = "get";
    } else if (expectedKind == "call" && (flags & DISPATCH_METHOD) != 0) {
        kind = "call";
    } else {
        kind = (flags & DISPATCH_METHOD) != 0 ? "call" : "get";
    }
    for (UINT i = 0; i < params.cNamedArgs; ++i) {
        if (params.rgdispidNamedArgs[i] == DISPID_PROPERTYPUT) {
            continue;
        }
        const auto name = names_.find(params.rgdispidNamedArgs[i]);
        named.emplace_back(name == names_.end() ? std::string("?")
                                                : utf8(name->second.data(), name->second.size()),
                           argumentText(params.rgvarg[i]));
    }
    std::vector<std::string> args;
    for (UINT i = params.cArgs; i > firstPositional; --i) {
        args.push_back(argumentText(params.rgvarg[i - 1]));
    }
    const auto name = names_.find(member);
    const std::string memberName = name == names_.end()
                                       ? "?" + std::to_string(member)
                                       : utf8(name->second.data(), name->second.size());
    return callText(object, kind, memberName, args, named);
}

std::string Replay::clipboardText() const {
    std::string text = "<clipboard could not be opened>";
    if (OpenClipboard(nullptr) == FALSE) {
        return text;
    }
    text = "<no Unicode text on the clipboard>";
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* chars = static_cast<const wchar_t*>(GlobalLock(data))) {
            text = bstr(utf8(chars, wcslen(chars)));
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}

HRESULT Replay::invoke(int object, DISPID member, WORD flags, const DISPPARAMS& params,
                       VARIANT* result, EXCEPINFO* info) {
    lastActivity = GetTickCount64();
    if (!difference_.empty()) {
        return fail(difference_, info);
    }
    while (next_ < section_.lines.size() &&
           section_.lines[next_].kind == ScriptLine::Kind::Clipboard) {
        const ScriptLine& line = section_.lines[next_++];
        const std::string held = clipboardText();
        if (held != line.call) {
            return fail("line " + std::to_string(line.number) + ": the clipboard holds " + held +
                            " instead of " + line.call,
                        info);
        }
    }
    const std::string actual =
        actualCall(object, member, flags, params,
                   next_ < section_.lines.size() ? kindOf(section_.lines[next_].call) : "");
    if (next_ == section_.lines.size()) {
        return fail("after the last recorded call: " + actual, info);
    }
    const ScriptLine& line = section_.lines[next_];
    if (line.kind == ScriptLine::Kind::End) {
        writeResults("ended at line " + std::to_string(line.number) + " on " + actual);
        ExitProcess(0);
    }
    if (actual != line.call) {
        return fail("line " + std::to_string(line.number) + ": expected " + line.call +
                        " but received " + actual,
                    info);
    }
    ++next_;
    ++checked_;
    const HRESULT hr = answer(line.answer, result, info);
    writeResults();
    return hr;
}

HRESULT Replay::answer(const std::string& recorded, VARIANT* result, EXCEPINFO* info) {
    VARIANT value;
    VariantInit(&value);
    if (recorded.starts_with("#")) {
        const std::size_t blank = recorded.find(' ');
        value.vt = VT_DISPATCH;
        value.pdispVal = makeReplayObject(*this, std::stoi(recorded.substr(1)),
                                          wide(recorded.substr(blank + 1)));
    } else if (recorded.starts_with("ERROR ")) {
        std::string_view rest(recorded);
        rest.remove_prefix(6);
        const int number = std::atoi(std::string(rest).c_str());
        rest.remove_prefix(rest.find(' ') + 1);
        const std::string source = unquote(rest).value_or("");
        rest.remove_prefix(1);
        const std::string description = unquote(rest).value_or("");
        *info = {};
        info->wCode = static_cast<WORD>(number);
        info->bstrSource = SysAllocString(wide(source).c_str());
        info->bstrDescription = SysAllocString(wide(description).c_str());
        return DISP_E_EXCEPTION;
    } else if (recorded.starts_with("BSTR:")) {
        std::string_view rest(recorded);
        rest.remove_prefix(5);
        value.vt = VT_BSTR;
        value.bstrVal = SysAllocString(wide(unquote(rest).value_or("")).c_str());
    } else if (recorded.starts_with("I4:")) {
        value.vt = VT_I4;
        value.lVal = std::atoi(recorded.c_str() + 3);
    } else if (recorded.starts_with("I2:")) {
        value.vt = VT_I2;
        value.iVal = static_cast<SHORT>(std::atoi(recorded.c_str() + 3));
    } else if (recorded.starts_with("R8:")) {
        value.vt = VT_R8;
        value.dblVal = numberAfterColon(recorded);
    } else if (recorded.starts_with("DATE:")) {
        value.vt = VT_DATE;
        value.date = numberAfterColon(recorded);
    } else if (recorded.starts_with("BOOL:")) {
        value.vt = VT_BOOL;
        value.boolVal = recorded == "BOOL:true" ? VARIANT_TRUE : VARIANT_FALSE;
    }
    if (result != nullptr) {
        *result = value;
    } else {
        VariantClear(&value);
    }
    return S_OK;
}

HRESULT Replay::fail(std::string difference, EXCEPINFO* info) {
    if (difference_.empty()) {
        difference_ = std::move(difference);
        writeResults();
    }
    if (info != nullptr) {
        *info = {};
        info->scode = E_FAIL;
        info->bstrSource = SysAllocString(L"Replay server");
        info->bstrDescription = SysAllocString(wide("replay: " + difference_).c_str());
    }
    return DISP_E_EXCEPTION;
}

void Replay::lastObjectGone() {
    writeResults();
    PostQuitMessage(0);
}

void Replay::writeResults(const std::string& note) const {
    std::ofstream out(results_, std::ios::binary | std::ios::trunc);
    out << "checked " << checked_ << "\n";
    out << "expected " << section_.calls() << "\n";
    out << "typeinfo " << typeInfoAnswers << "\n";
    if (!difference_.empty()) {
        out << "difference " << difference_ << "\n";
    }
    if (!note.empty()) {
        out << "note " << note << "\n";
    }
}

} // namespace kelvor::test::replay
