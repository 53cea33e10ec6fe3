#pragma once

// An in-process automation object for tests: names get ids on first lookup, every Invoke is
// written down (member, how it was called, each argument's type and name) and answered by
// the test's handler.

#include "host/excel/ComHandles.h"

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace kelvor::test {

struct FakeCall {
    std::wstring type;
    std::wstring member;
    WORD flags = 0;
    std::vector<com::Variant> args; // positional, first first
    std::vector<std::pair<std::wstring, com::Variant>> named;
    bool isPut() const { return (flags & DISPATCH_PROPERTYPUT) != 0; }
};

// What the objects of one fake application share.
struct FakeLog {
    std::vector<std::string> calls; // "Sheets.Add(After:VT_DISPATCH)", "Range.Value=VT_R8"
    int lookups = 0;
    // Member ids, the same for every object as a type library's are.
    std::map<std::wstring, DISPID> ids;
    std::map<DISPID, std::wstring> names;
};

using FakeHandler = std::function<HRESULT(const FakeCall&, VARIANT* result, EXCEPINFO* info)>;

com::DispatchPtr makeFakeDispatch(std::wstring type, std::shared_ptr<FakeLog> log,
                                  FakeHandler handler);

// "VT_I2", "VT_BSTR", ...
std::string typeName(VARTYPE type);
// Puts an object into an answer.
void answerObject(VARIANT* result, const com::DispatchPtr& object);
// Fills `info` as the application does for one of its own errors.
HRESULT raise(EXCEPINFO* info, int number, const std::wstring& source,
              const std::wstring& description);

} // namespace kelvor::test
