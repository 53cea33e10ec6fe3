#pragma once

#include "host/model/ChartSheet.h"
#include "host/model/Styles.h"
#include "host/model/Worksheet.h"

#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace kelvor {

// An ordered set of worksheets and chart sheets with their cell styles. Sheet names are valid
// (see isValidSheetName) and unique without regard to case; breaking either rule throws
// std::invalid_argument, a bad index std::out_of_range.
class Workbook {
public:
    explicit Workbook(std::string name = "Book1");
    Workbook(const Workbook&) = delete;
    Workbook& operator=(const Workbook&) = delete;

    const std::string& name() const { return name_; }
    // Who the workbook is, as Sheet::key() for sheets: never given to another workbook.
    std::uint64_t key() const { return key_; }
    void setName(std::string name) { name_ = std::move(name); }

    std::size_t sheetCount() const { return sheets_.size(); }
    Sheet& sheet(std::size_t index);
    const Sheet& sheet(std::size_t index) const;
    std::optional<std::size_t> indexOf(std::string_view name) const;

    // Inserts at `position` (default: the end).
    Worksheet& addWorksheet(std::string name, std::optional<std::size_t> position = {});
    ChartSheet& addChartSheet(std::string name, std::optional<std::size_t> position = {});
    void removeSheet(std::size_t index);
    // Takes the sheet out of the workbook, whole, to be put back later or dropped.
    std::unique_ptr<Sheet> takeSheet(std::size_t index);
    // Appends a sheet taken out before as if it were made anew: under a new id, changed. It
    // keeps its key.
    // std::invalid_argument when its name is taken meanwhile.
    Sheet& putBackSheet(std::unique_ptr<Sheet> sheet);
    // Takes the sheet out and puts it in so that it stands at index `to` afterwards.
    void moveSheet(std::size_t from, std::size_t to);
    void renameSheet(std::size_t index, std::string name);

    // The sheet shown when the file is opened; follows the sheet when sheets move. Nothing
    // when no sheet was made active or the active one was removed.
    std::optional<std::size_t> activeSheet() const;
    void setActiveSheet(std::size_t index);

    // The paper sheets made from now on print on (PageSetup::paperSize); sheets made before
    // keep theirs.
    int paperSize() const { return paperSize_; }
    void setPaperSize(int paperSize) { paperSize_ = paperSize; }

    Styles& styles() { return styles_; }
    const Styles& styles() const { return styles_; }

private:
    template <class T> T& addSheet(std::string name, std::optional<std::size_t> position);
    void checkNewName(std::string_view name, std::optional<std::size_t> except) const;
    std::size_t insertPosition(std::optional<std::size_t> position) const;
    void checkIndex(std::size_t index) const;
    // Keep positions_ in step: after the sheet at `index` was put there, before it goes.
    void placed(std::size_t index);
    void leaving(std::size_t index);

    std::string name_;
    std::uint64_t key_;
    std::vector<std::unique_ptr<Sheet>> sheets_;
    Styles styles_;
    int paperSize_ = PaperA4;
    std::uint32_t nextSheetId_ = 1;
    std::uint32_t activeSheetId_ = 0;
    // Sheet positions by sheetNameKey, made at the first look-up and kept in step with every
    // change after it: a channel's workbook holds thousands of sheets, looked up by name
    // thousands of times an export. Changed by reads too, as a sheet's row cursor is.
    mutable std::unordered_map<std::string, std::size_t> positions_;
    mutable bool positionsKept_ = false;
};

// The sheet as a worksheet or chart sheet; null when it is of the other kind.
Worksheet* asWorksheet(Sheet& sheet);
const Worksheet* asWorksheet(const Sheet& sheet);
ChartSheet* asChartSheet(Sheet& sheet);
const ChartSheet* asChartSheet(const Sheet& sheet);

} // namespace kelvor
