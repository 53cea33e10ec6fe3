#pragma once

#include <cstdint>
#include <string>

namespace kelvor {

class Workbook;

enum class SheetKind { Worksheet, ChartSheet };

// What worksheets and chart sheets share. Every change bumps the revision; revisions come
// from one counter for the whole program, so no two states of any sheets share a revision.
class Sheet {
public:
    virtual ~Sheet() = default;
    Sheet(const Sheet&) = delete;
    Sheet& operator=(const Sheet&) = delete;

    SheetKind kind() const { return kind_; }
    // Unique within its workbook and never reused there.
    std::uint32_t id() const { return id_; }
    const std::string& name() const { return name_; }
    bool hidden() const { return hidden_; }
    void setHidden(bool hidden);
    std::uint64_t revision() const { return revision_; }

protected:
    Sheet(SheetKind kind, std::uint32_t id, std::string name);
    void touch();

private:
    friend class Workbook;
    void setName(std::string name);

    SheetKind kind_;
    std::uint32_t id_;
    std::string name_;
    bool hidden_ = false;
    std::uint64_t revision_;
};

} // namespace kelvor
