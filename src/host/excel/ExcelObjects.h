#pragma once

// The spreadsheet interface over the application's automation objects: each xl object holds
// one ComObject and calls its members by name. Objects handed back in (a sheet for `after`,
// a range for Destination) are ours, and cross as the dispatch they hold.

#include "export/SpreadsheetCharts.h"
#include "host/excel/ComObject.h"

#include <memory>

namespace kelvor::com {

// What every object of the back end is besides its xl interface.
class ExcelHandle {
public:
    explicit ExcelHandle(ComObject object) : object_(std::move(object)) {}
    virtual ~ExcelHandle() = default;
    const ComObject& object() const { return object_; }

private:
    ComObject object_;
};

// The dispatch of an object made here, as an object argument; a 13 for anyone else's.
Variant argument(const void* object, const ExcelHandle* handle);
template <typename T> Variant argument(const std::shared_ptr<T>& object) {
    return argument(object.get(), dynamic_cast<const ExcelHandle*>(object.get()));
}

std::shared_ptr<xl::Font> makeFont(ComObject object);
std::shared_ptr<xl::PageSetup> makePageSetup(ComObject object);
std::shared_ptr<xl::Range> makeRange(ComObject object);
std::shared_ptr<xl::Sheet> makeSheet(ComObject object);
std::shared_ptr<xl::Sheets> makeSheets(ComObject object);
std::shared_ptr<xl::Workbook> makeWorkbook(ComObject object);
std::shared_ptr<xl::Workbooks> makeWorkbooks(ComObject object);
std::shared_ptr<xl::Chart> makeChart(ComObject object);
std::shared_ptr<xl::Charts> makeCharts(ComObject object);
std::shared_ptr<xl::ChartSelection> makeChartSelection(ComObject object);
std::shared_ptr<xl::TextFont> makeTextFont(ComObject object);
std::shared_ptr<xl::Border> makeBorder(ComObject object);
std::shared_ptr<xl::Characters> makeCharacters(ComObject object);
std::shared_ptr<xl::ShapeRange> makeShapeRange(ComObject object);
std::shared_ptr<xl::ChartElement> makeChartElement(ComObject object);
std::shared_ptr<xl::ChartTextElement> makeChartTextElement(ComObject object);

// Puts the text's lines into column A of the sheet from row 1 down: Paste without a
// clipboard, as a new data sheet (whose active cell is A1) receives them.
void writeLines(const ComObject& sheet, const std::string& text);

} // namespace kelvor::com
