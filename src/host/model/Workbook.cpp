#include "host/model/Workbook.h"

#include "host/model/SheetName.h"

#include <atomic>
#include <stdexcept>

namespace kelvor {

namespace {

std::uint64_t nextKey() {
    static std::atomic<std::uint64_t> counter{0};
    return ++counter;
}

} // namespace

Workbook::Workbook(std::string name) : name_(std::move(name)), key_(nextKey()) {}

Sheet& Workbook::sheet(std::size_t index) {
    checkIndex(index);
    return *sheets_[index];
}

const Sheet& Workbook::sheet(std::size_t index) const {
    checkIndex(index);
    return *sheets_[index];
}

std::optional<std::size_t> Workbook::indexOf(std::string_view name) const {
    if (!positionsKept_) {
        positions_.clear();
        for (std::size_t i = 0; i < sheets_.size(); ++i) {
            positions_.emplace(sheetNameKey(sheets_[i]->name()), i);
        }
        positionsKept_ = true;
    }
    const auto found = positions_.find(sheetNameKey(name));
    if (found == positions_.end()) {
        return std::nullopt;
    }
    return found->second;
}

// The positions follow each change instead of being made again at the next look-up: an export
// adds and removes sheets several times, each followed by look-ups, in a workbook of
// thousands. Moving the others' positions touches no text.
void Workbook::placed(std::size_t index) {
    if (!positionsKept_) {
        return;
    }
    if (index + 1 < sheets_.size()) {
        for (auto& [key, position] : positions_) {
            if (position >= index) {
                ++position;
            }
        }
    }
    positions_.emplace(sheetNameKey(sheets_[index]->name()), index);
}

void Workbook::leaving(std::size_t index) {
    if (!positionsKept_) {
        return;
    }
    positions_.erase(sheetNameKey(sheets_[index]->name()));
    if (index + 1 < sheets_.size()) {
        for (auto& [key, position] : positions_) {
            if (position > index) {
                --position;
            }
        }
    }
}

Worksheet& Workbook::addWorksheet(std::string name, std::optional<std::size_t> position) {
    return addSheet<Worksheet>(std::move(name), position);
}

ChartSheet& Workbook::addChartSheet(std::string name, std::optional<std::size_t> position) {
    return addSheet<ChartSheet>(std::move(name), position);
}

template <class T> T& Workbook::addSheet(std::string name, std::optional<std::size_t> position) {
    checkNewName(name, std::nullopt);
    const auto at = insertPosition(position);
    auto sheet = std::make_unique<T>(nextSheetId_++, std::move(name));
    auto& added = *sheet;
    if (added.pageSetup().paperSize != paperSize_) {
        PageSetup page = added.pageSetup();
        page.paperSize = paperSize_;
        added.setPageSetup(std::move(page));
    }
    sheets_.insert(sheets_.begin() + static_cast<std::ptrdiff_t>(at), std::move(sheet));
    placed(at);
    return added;
}

void Workbook::removeSheet(std::size_t index) {
    checkIndex(index);
    leaving(index);
    sheets_.erase(sheets_.begin() + static_cast<std::ptrdiff_t>(index));
}

std::unique_ptr<Sheet> Workbook::takeSheet(std::size_t index) {
    checkIndex(index);
    leaving(index);
    auto sheet = std::move(sheets_[index]);
    sheets_.erase(sheets_.begin() + static_cast<std::ptrdiff_t>(index));
    return sheet;
}

Sheet& Workbook::putBackSheet(std::unique_ptr<Sheet> sheet) {
    checkNewName(sheet->name(), std::nullopt);
    // A new id, as a sheet made now would get: ids are never reused, and what was written
    // under the old one is not this sheet's state any more.
    sheet->id_ = nextSheetId_++;
    sheet->touch();
    sheets_.push_back(std::move(sheet));
    placed(sheets_.size() - 1);
    return *sheets_.back();
}

void Workbook::moveSheet(std::size_t from, std::size_t to) {
    checkIndex(from);
    checkIndex(to);
    leaving(from);
    auto sheet = std::move(sheets_[from]);
    sheets_.erase(sheets_.begin() + static_cast<std::ptrdiff_t>(from));
    sheets_.insert(sheets_.begin() + static_cast<std::ptrdiff_t>(to), std::move(sheet));
    placed(to);
}

void Workbook::renameSheet(std::size_t index, std::string name) {
    checkIndex(index);
    checkNewName(name, index);
    leaving(index);
    sheets_[index]->setName(std::move(name));
    placed(index);
}

std::optional<std::size_t> Workbook::activeSheet() const {
    for (std::size_t i = 0; i < sheets_.size(); ++i) {
        if (sheets_[i]->id() == activeSheetId_) {
            return i;
        }
    }
    return std::nullopt;
}

void Workbook::setActiveSheet(std::size_t index) {
    checkIndex(index);
    activeSheetId_ = sheets_[index]->id();
}

void Workbook::checkNewName(std::string_view name, std::optional<std::size_t> except) const {
    if (!isValidSheetName(name)) {
        throw std::invalid_argument("invalid sheet name \"" + std::string(name) + "\"");
    }
    const auto existing = indexOf(name);
    if (existing && existing != except) {
        throw std::invalid_argument("the workbook already has a sheet named \"" +
                                    std::string(name) + "\"");
    }
}

std::size_t Workbook::insertPosition(std::optional<std::size_t> position) const {
    if (position && *position > sheets_.size()) {
        throw std::out_of_range("sheet position out of range");
    }
    return position.value_or(sheets_.size());
}

void Workbook::checkIndex(std::size_t index) const {
    if (index >= sheets_.size()) {
        throw std::out_of_range("sheet index " + std::to_string(index) + " out of range");
    }
}

Worksheet* asWorksheet(Sheet& sheet) {
    return dynamic_cast<Worksheet*>(&sheet);
}
const Worksheet* asWorksheet(const Sheet& sheet) {
    return dynamic_cast<const Worksheet*>(&sheet);
}
ChartSheet* asChartSheet(Sheet& sheet) {
    return dynamic_cast<ChartSheet*>(&sheet);
}
const ChartSheet* asChartSheet(const Sheet& sheet) {
    return dynamic_cast<const ChartSheet*>(&sheet);
}

} // namespace kelvor
