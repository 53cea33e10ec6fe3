#pragma once

// One server process's part of a recording: each call it receives is compared with the next
// recorded one (object, kind, member, positional arguments with their types and values, named
// arguments in order) and answered as recorded; the first difference fails that call and
// every later one, and is written to the results. At an "end" line the process ends there,
// as an application its user closes.

#include "ReplayScript.h"

#include <oaidl.h>

#include <filesystem>
#include <map>
#include <string>

namespace kelvor::test::replay {

class Replay {
public:
    Replay(ScriptSection section, std::filesystem::path results);

    int application() const { return section_.application; }
    DISPID idOf(const wchar_t* name);
    HRESULT invoke(int object, DISPID member, WORD flags, const DISPPARAMS& params, VARIANT* result,
                   EXCEPINFO* info);
    void lastObjectGone();
    // Writes what was checked so far; `note` adds a line.
    void writeResults(const std::string& note = {}) const;

    int typeInfoAnswers = 0;
    // GetTickCount64 of the last call or new application.
    unsigned long long lastActivity = 0;

private:
    std::string actualCall(int object, DISPID member, WORD flags, const DISPPARAMS& params,
                           const std::string& expectedKind) const;
    std::string argumentText(const VARIANT& value) const;
    HRESULT fail(std::string difference, EXCEPINFO* info);
    HRESULT answer(const std::string& recorded, VARIANT* result, EXCEPINFO* info);
    std::string clipboardText() const;

    ScriptSection section_;
    std::filesystem::path results_;
    std::size_t next_ = 0;
    std::size_t checked_ = 0;
    std::string difference_;
    std::map<std::wstring, DISPID> ids_;
    std::map<DISPID, std::wstring> names_;
};

} // namespace kelvor::test::replay
