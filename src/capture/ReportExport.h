#pragma once

#include <cstdint>
#include <string>

namespace kelvor {

// The step that takes a complete report of one channel into its spreadsheet workbook.
// It consumes `reportText` (empties it) once the report has been handled; text it leaves
// behind was not taken and is kept for the channel's next export. It may rewrite the
// channel's workbook position.
class ReportExport {
public:
    virtual ~ReportExport() = default;
    virtual void exportReport(int channel, std::string& reportText,
                              std::int32_t& workbookIndex) = 0;
};

} // namespace kelvor
