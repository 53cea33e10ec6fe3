#pragma once

// One automation object of the application, called by member name: property reads and
// writes and method calls, with positional and named arguments. Member ids are looked up
// once per object type and member (and named arguments) and kept for the application's life.

#include "host/excel/ComHandles.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace kelvor::com {

struct NamedArg {
    std::wstring name;
    Variant value;
};

// What the objects of one application share: the member ids, by type name and member, and
// the text waiting to be pasted.
class Session {
public:
    std::map<std::wstring, std::vector<DISPID>> ids;
    int lookups = 0; // GetIDsOfNames calls made, for tests of the caching
    // Text set for the next Paste, and whether the system clipboard holds it; when it could
    // not be opened Paste writes the lines itself. Empty once cleared or replaced by a Copy:
    // Paste then pastes what the application copied.
    std::string pasteText;
    bool onClipboard = false;
    // Where the channel workbooks are saved.
    std::wstring workbookFolder;
};

class ComObject {
public:
    // `type` names the object's kind for the id cache when the object has no type
    // information to name it.
    ComObject(DispatchPtr dispatch, std::wstring type, std::shared_ptr<Session> session);

    Variant get(const std::wstring& member, std::vector<Variant> args = {}) const;
    void put(const std::wstring& member, Variant value) const;
    Variant call(const std::wstring& member, std::vector<Variant> args = {},
                 std::vector<NamedArg> named = {}) const;

    // A property read or method call answering an object, wrapped with the cache kept.
    ComObject child(const std::wstring& member, const std::wstring& type,
                    std::vector<Variant> args = {}, std::vector<NamedArg> named = {}) const;
    ComObject wrap(DispatchPtr dispatch, const std::wstring& type) const;

    const DispatchPtr& dispatch() const { return dispatch_; }
    // The object's type as its type information names it ("Worksheet", "Chart") for a sheet,
    // else the kind it was wrapped as.
    const std::wstring& typeName() const;
    const std::shared_ptr<Session>& cache() const { return cache_; }

private:
    Variant invoke(const std::wstring& member, WORD flags, std::vector<Variant> args,
                   std::vector<NamedArg> named) const;
    const std::vector<DISPID>& ids(const std::wstring& member,
                                   const std::vector<NamedArg>& named) const;

    DispatchPtr dispatch_;
    std::wstring type_;
    mutable std::wstring resolvedType_;
    std::shared_ptr<Session> cache_;
};

} // namespace kelvor::com
