#include "host/model/ChartSheet.h"

namespace kelvor {

ChartSheet::ChartSheet(std::uint32_t id, std::string name)
    : Sheet(SheetKind::ChartSheet, id, std::move(name)) {}

void ChartSheet::editChart(const std::function<void(Chart&)>& edit) {
    try {
        edit(chart_);
    } catch (...) {
        touch(); // the edit may have got half way
        throw;
    }
    touch();
}

void ChartSheet::setPageSetup(PageSetup pageSetup) {
    checkMargins(pageSetup);
    pageSetup_ = std::move(pageSetup);
    touch();
}

} // namespace kelvor
