#include "printing/PrintScope.h"

#include <string>

namespace kelvor {

namespace {

// A chart sheet is named after its data sheet with this appended (the summary's plot too).
constexpr std::string_view PlotSuffix = " Plot";

std::optional<std::size_t> indexOfId(const Workbook& book, std::uint32_t id) {
    for (std::size_t i = 0; i < book.sheetCount(); ++i) {
        if (book.sheet(i).id() == id) {
            return i;
        }
    }
    return std::nullopt;
}

} // namespace

std::vector<std::uint32_t> sheetsToPrint(const Workbook& book, std::uint32_t shownId,
                                         PrintScope scope) {
    std::vector<std::uint32_t> ids;
    if (scope == PrintScope::Workbook) {
        for (std::size_t i = 0; i < book.sheetCount(); ++i) {
            if (!book.sheet(i).hidden()) {
                ids.push_back(book.sheet(i).id());
            }
        }
        return ids;
    }
    const auto shown = indexOfId(book, shownId);
    if (!shown) {
        return ids;
    }
    const std::string& name = book.sheet(*shown).name();
    std::optional<std::size_t> partner;
    if (scope == PrintScope::Test) {
        if (name.ends_with(PlotSuffix)) {
            partner = book.indexOf(name.substr(0, name.size() - PlotSuffix.size()));
        } else {
            partner = book.indexOf(name + std::string(PlotSuffix));
        }
    }
    if (partner && !book.sheet(*partner).hidden()) {
        ids.push_back(book.sheet(std::min(*shown, *partner)).id());
        ids.push_back(book.sheet(std::max(*shown, *partner)).id());
    } else {
        ids.push_back(shownId);
    }
    return ids;
}

} // namespace kelvor
