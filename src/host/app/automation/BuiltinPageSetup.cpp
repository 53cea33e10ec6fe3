#include "host/app/automation/BuiltinPageSetup.h"

#include "host/app/cells/RangeAddress.h"
#include "host/app/errors/HostErrors.h"
#include "host/model/CellAddress.h"
#include "util/Utf8Text.h"

#include <cmath>

namespace kelvor {

namespace {

constexpr std::size_t kMaxHeaderLength = 255;

xl::HostError unableToSet(const char* property) {
    return methodError(std::string("Unable to set the ") + property +
                       " property of the PageSetup class");
}

} // namespace

BuiltinPageSetup::BuiltinPageSetup(SheetRef sheet) : sheet_(std::move(sheet)) {}

void BuiltinPageSetup::change(const std::function<void(kelvor::PageSetup&)>& edit) {
    auto& sheet = sheet_.sheet();
    if (auto* worksheet = asWorksheet(sheet)) {
        auto setup = worksheet->pageSetup();
        edit(setup);
        worksheet->setPageSetup(std::move(setup));
    } else if (auto* chart = asChartSheet(sheet)) {
        auto setup = chart->pageSetup();
        edit(setup);
        chart->setPageSetup(std::move(setup));
    }
}

const kelvor::PageSetup& BuiltinPageSetup::current() {
    auto& sheet = sheet_.sheet();
    if (auto* chart = asChartSheet(sheet)) {
        return chart->pageSetup();
    }
    return sheet_.worksheet().pageSetup();
}

void BuiltinPageSetup::setMargin(double kelvor::PageSetup::*margin, double points,
                                 const char* name) {
    sheet_.index();
    if (!(std::isfinite(points) && points >= 0)) {
        throw unableToSet(name);
    }
    change([&](kelvor::PageSetup& setup) { setup.*margin = points; });
}

void BuiltinPageSetup::setText(std::string kelvor::PageSetup::*field, const std::string& text,
                               const char* name) {
    sheet_.index();
    if (utf16Length(text) > kMaxHeaderLength) {
        throw unableToSet(name);
    }
    change([&](kelvor::PageSetup& setup) { setup.*field = text; });
}

void BuiltinPageSetup::setLeftMargin(double points) {
    setMargin(&kelvor::PageSetup::leftMargin, points, "LeftMargin");
}

void BuiltinPageSetup::setRightMargin(double points) {
    setMargin(&kelvor::PageSetup::rightMargin, points, "RightMargin");
}

void BuiltinPageSetup::setTopMargin(double points) {
    setMargin(&kelvor::PageSetup::topMargin, points, "TopMargin");
}

void BuiltinPageSetup::setBottomMargin(double points) {
    setMargin(&kelvor::PageSetup::bottomMargin, points, "BottomMargin");
}

void BuiltinPageSetup::setCenterHeader(const std::string& text) {
    setText(&kelvor::PageSetup::centerHeader, text, "CenterHeader");
}

std::string BuiltinPageSetup::LeftFooter() {
    return current().leftFooter;
}

void BuiltinPageSetup::setLeftFooter(const std::string& text) {
    setText(&kelvor::PageSetup::leftFooter, text, "LeftFooter");
}

void BuiltinPageSetup::setCenterFooter(const std::string& text) {
    setText(&kelvor::PageSetup::centerFooter, text, "CenterFooter");
}

void BuiltinPageSetup::setRightFooter(const std::string& text) {
    setText(&kelvor::PageSetup::rightFooter, text, "RightFooter");
}

void BuiltinPageSetup::setPrintTitleRows(const std::string& rows) {
    sheet_.worksheet(); // chart sheets print no title rows
    std::string stored;
    if (!rows.empty()) {
        const auto areas = parseAddress(rows);
        if (!areas || areas->size() != 1 || areas->front().firstColumn != 1 ||
            areas->front().lastColumn != kMaxColumns) {
            throw unableToSet("PrintTitleRows");
        }
        const auto& area = areas->front();
        stored = "$" + std::to_string(area.firstRow) + ":$" + std::to_string(area.lastRow);
    }
    change([&](kelvor::PageSetup& setup) { setup.printTitleRows = stored; });
}

} // namespace kelvor
