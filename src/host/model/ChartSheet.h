#pragma once

#include "host/model/Chart.h"
#include "host/model/PageSetup.h"
#include "host/model/Sheet.h"

#include <functional>

namespace kelvor {

// A sheet that holds one chart filling the page.
class ChartSheet : public Sheet {
public:
    ChartSheet(std::uint32_t id, std::string name);

    const Chart& chart() const { return chart_; }
    // Changes the chart in place; any edit counts as a change of the sheet.
    void editChart(const std::function<void(Chart&)>& edit);

    const PageSetup& pageSetup() const { return pageSetup_; }
    // Throws std::invalid_argument for a negative or non-finite margin.
    void setPageSetup(PageSetup pageSetup);

private:
    Chart chart_;
    PageSetup pageSetup_;
};

} // namespace kelvor
