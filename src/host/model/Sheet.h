#pragma once

#include <cstdint>
#include <string>

namespace kelvor {

class Workbook;

enum class SheetKind { Worksheet, ChartSheet };

// What worksheets and chart sheets share. Every change bumps the revision; revisions come
// from one counter for the whole program, so no two states of any sheets share a revision.
// What the writer and calculation keep of a sheet is keyed on key() and revision() only
// (see host/xlsx/README.md).
class Sheet {
public:
    virtual ~Sheet() = default;
    Sheet(const Sheet&) = delete;
    Sheet& operator=(const Sheet&) = delete;

    SheetKind kind() const { return kind_; }
    // The sheet's number in the file: unique within its workbook and never reused there, but
    // given anew when the sheet is put back (Workbook::putBackSheet).
    std::uint32_t id() const { return id_; }
    // Who the sheet is: given once when it is made, from one counter for the whole program,
    // and kept through moves, renames and being taken out and put back.
    std::uint64_t key() const { return key_; }
    const std::string& name() const { return name_; }
    bool hidden() const { return hidden_; }
    void setHidden(bool hidden);
    std::uint64_t revision() const { return revision_; }

protected:
    Sheet(SheetKind kind, std::uint32_t id, std::string name);
    void touch();
    // A stamp newer than every revision given so far, from the same counter.
    static std::uint64_t newRevision();

private:
    friend class Workbook;
    void setName(std::string name);

    SheetKind kind_;
    std::uint32_t id_;
    std::uint64_t key_;
    std::string name_;
    bool hidden_ = false;
    std::uint64_t revision_;
};

} // namespace kelvor
