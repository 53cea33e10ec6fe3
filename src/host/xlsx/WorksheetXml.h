#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kelvor {

class SharedFormulas;
class Worksheet;

// The worksheet part of a package: cells with inline strings, formulas with their cached
// results, column widths, page margins, header and footer. It depends on the worksheet alone,
// so it stays byte-identical while the sheet is unchanged.
std::string worksheetXml(const Worksheet& sheet);

// Receives the worksheet part in document order: the XML around the rows, and each row's
// cells without the row's closing tag, which follows as text. A writer can keep the pieces
// of rows that did not change.
class WorksheetXmlSink {
public:
    virtual ~WorksheetXmlSink() = default;
    virtual void text(std::string_view xml) = 0;
    // Asked before each row with its start tag and the column of its last cell: the first
    // column whose cells are wanted. From a column past 1 on, the sink holds the start tag and
    // the cells before that column, and row() gets only the cells from there on.
    virtual std::uint32_t firstWanted(std::uint32_t /*row*/, std::string_view /*head*/,
                                      std::uint32_t /*lastColumn*/) {
        return 1;
    }
    virtual void row(std::uint32_t row, std::string_view xml) = 0;
};

void writeWorksheetXml(const Worksheet& sheet, WorksheetXmlSink& sink);
// The same with the sheet's shared formulas found already.
void writeWorksheetXml(const Worksheet& sheet, SharedFormulas& shared, WorksheetXmlSink& sink);

// The width a package stores for a column `characters` digits wide (digits of 7 pixels,
// 5 pixels of padding).
double packageColumnWidth(double characters);

} // namespace kelvor
