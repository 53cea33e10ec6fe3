#pragma once

// The spreadsheet application as the export procedures see it: typed objects with the
// members they call, step by step, the way an automation client calls them. The built-in
// application (host/) implements it; an automation back end can sit behind it later.
// Failing members throw xl::HostError. Collections and items are 1-based.

#include "export/HostError.h"
#include "export/XlConstants.h"

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <variant>
#include <vector>

namespace kelvor::xl {

// A number the cell shows as a date or time: the application hands it over as a date.
struct Date {
    double serial; // days since 1899-12-30, the time of day as the fraction
    bool operator==(const Date&) const = default;
};

// A cell's value as the application hands it over.
using Variant = std::variant<std::monostate, double, std::string, bool, Date>;

struct TextToColumnsOptions {
    std::int32_t dataType = xlDelimited;
    std::int32_t textQualifier = xlTextQualifierDoubleQuote;
    bool consecutiveDelimiter = false;
    bool tab = false;
    bool semicolon = false;
    bool comma = false;
    bool space = false;
    bool other = false;
    std::string otherChar;
    // (column, format) pairs; format 1 = general.
    std::vector<std::pair<std::int16_t, std::int16_t>> fieldInfo;
};

class Range;
class Sheet;
class Workbook;
// The chart half, declared in SpreadsheetCharts.h.
class Chart;
class Charts;
class ChartSelection;
// Declared in SummaryFollow.h.
class SummaryFollow;
using RangePtr = std::shared_ptr<Range>;
using SheetPtr = std::shared_ptr<Sheet>;
using WorkbookPtr = std::shared_ptr<Workbook>;

class Font {
public:
    virtual ~Font() = default;
    virtual void setName(const std::string& name) = 0;
    virtual void setFontStyle(const std::string& style) = 0; // "Regular", "Bold", ...
    virtual void setSize(double points) = 0;
    virtual void setBold(bool bold) = 0;
};

class PageSetup {
public:
    virtual ~PageSetup() = default;
    virtual void setLeftMargin(double points) = 0;
    virtual void setRightMargin(double points) = 0;
    virtual void setTopMargin(double points) = 0;
    virtual void setBottomMargin(double points) = 0;
    virtual void setCenterHeader(const std::string& text) = 0;
    virtual std::string LeftFooter() = 0;
    virtual void setLeftFooter(const std::string& text) = 0;
    virtual void setCenterFooter(const std::string& text) = 0;
    virtual void setRightFooter(const std::string& text) = 0;
    virtual void setPrintTitleRows(const std::string& rows) = 0; // "$15:$15"
};

class Range {
public:
    virtual ~Range() = default;
    virtual void Select() = 0;
    virtual void Activate() = 0;
    virtual Variant Value() = 0; // of the first cell
    virtual void setValue(const Variant& value) = 0;
    virtual std::string Text() = 0; // the first cell as displayed
    virtual void setFormulaR1C1(const std::string& formula) = 0;
    virtual void setNumberFormat(const std::string& format) = 0;
    virtual void setHorizontalAlignment(std::int32_t alignment) = 0;
    virtual void setVerticalAlignment(std::int32_t alignment) = 0;
    virtual void setWrapText(bool wrap) = 0;
    virtual void setOrientation(std::int16_t degrees) = 0;
    virtual void setAddIndent(bool indent) = 0;
    virtual void setShrinkToFit(bool shrink) = 0;
    virtual void setMergeCells(bool merge) = 0;
    virtual std::shared_ptr<xl::Font> Font() = 0;
    virtual RangePtr Columns() = 0; // the whole columns the range spans
    virtual void AutoFit() = 0;     // on Columns(): widths fitted to the range's cells
    virtual void TextToColumns(const RangePtr& destination, const TextToColumnsOptions& o) = 0;
    virtual void FillDown() = 0;
    virtual void Copy() = 0;
    virtual void PasteSpecial(std::int32_t paste, std::int32_t operation, bool skipBlanks,
                              bool transpose) = 0;
    virtual void Delete(std::int32_t shift) = 0;
};

// A worksheet or a chart sheet. Worksheet members on a chart sheet fail with 438.
class Sheet {
public:
    virtual ~Sheet() = default;
    virtual std::string Name() = 0;
    virtual void setName(const std::string& name) = 0; // 1004 when the workbook has it
    virtual std::int32_t Type() = 0;                   // xlWorksheet or xlChart
    virtual std::int32_t Visible() = 0;                // xlSheetVisible or xlSheetHidden
    virtual void setVisible(std::int32_t visible) = 0;
    virtual void Activate() = 0;
    virtual void Delete() = 0;
    virtual std::shared_ptr<xl::PageSetup> PageSetup() = 0;
    virtual RangePtr Range(const std::string& address) = 0; // "A1", "A5:A7", "B8,D8", "H:H"
    virtual RangePtr Range(const std::string& cell1, const std::string& cell2) = 0;
    virtual RangePtr Cells(std::int32_t row, std::int32_t column) = 0;
    virtual RangePtr Columns(const std::string& columns) = 0; // "A:A"
    // Puts what the application's clipboard holds (text lines or a copied range) into the
    // sheet from its active cell.
    virtual void Paste() = 0;
    // The chart of a chart sheet; 438 on a worksheet.
    virtual std::shared_ptr<xl::Chart> AsChart() = 0;
};

class Sheets {
public:
    virtual ~Sheets() = default;
    virtual std::int32_t Count() = 0;
    virtual SheetPtr Item(std::int32_t index) = 0; // 9 when out of range
    // Inserts a new worksheet behind `after` and activates it.
    virtual SheetPtr Add(const SheetPtr& after) = 0;
};

class Workbook {
public:
    virtual ~Workbook() = default;
    virtual void Activate() = 0;
    virtual std::string Name() = 0;
    virtual std::shared_ptr<xl::Sheets> Sheets() = 0;
    virtual std::shared_ptr<xl::Sheets> Worksheets() = 0;
    virtual std::shared_ptr<xl::Charts> Charts() = 0; // its chart sheets
    // The name its file takes (no folder, no extension); a name some file has already gets a
    // " (2)", " (3)", ... The workbook's Name follows. Automation does this with SaveAs.
    virtual void setFileName(const std::string& name) = 0;
    // Not in the automation object model: the workbook stands again for the file of that name
    // (no folder, no extension) that an earlier run wrote, a batch reopened after a restart.
    // No new name is claimed: the file is replaced when the workbook is next written. An
    // application that cannot do this names a file of its own.
    virtual void reopenFile(const std::string& name) { setFileName(name); }
    // Saves the workbook one last time and closes it; later workbooks move up one position.
    // A workbook that cannot be saved stays open and the error says why.
    virtual void Close() = 0;

    // Not in the automation object model: the workbook's keeping of its summary sheets aside,
    // or nothing when this application cannot keep them (then they are deleted and rebuilt).
    virtual std::shared_ptr<SummaryFollow> FollowSummary() { return nullptr; }
};

class Workbooks {
public:
    virtual ~Workbooks() = default;
    virtual std::int32_t Count() = 0;
    virtual WorkbookPtr Item(std::int32_t index) = 0; // 9 when out of range
    virtual WorkbookPtr Add() = 0;                    // appended and activated
};

// What the application's Selection refers to; members the selected object lacks fail with 438.
class Selection {
public:
    virtual ~Selection() = default;
    virtual RangePtr AsRange() = 0;
    // A selected chart element or text box; 438 when the selection is a range.
    virtual std::shared_ptr<xl::ChartSelection> AsChartSelection() = 0;
};

class Application {
public:
    virtual ~Application() = default;
    virtual void setVisible(bool visible) = 0;
    virtual void setDisplayAlerts(bool display) = 0;
    virtual void setScreenUpdating(bool updating) = 0;
    virtual void setCalculation(std::int32_t mode) = 0;
    virtual void Calculate() = 0;
    virtual void setCutCopyMode(bool mode) = 0;
    virtual std::shared_ptr<xl::Workbooks> Workbooks() = 0;
    virtual WorkbookPtr ActiveWorkbook() = 0;
    virtual SheetPtr ActiveSheet() = 0;
    virtual std::shared_ptr<xl::Sheets> Sheets() = 0;     // of the active workbook
    virtual std::shared_ptr<xl::Sheets> Worksheets() = 0; // of the active workbook
    virtual std::shared_ptr<xl::Selection> Selection() = 0;
    virtual RangePtr ActiveCell() = 0;
    // The chart of the active sheet; 91 when the active sheet is no chart sheet.
    virtual std::shared_ptr<xl::Chart> ActiveChart() = 0;
    // The application's own clipboard for text, used by Paste. Never the desktop's.
    virtual void setClipboardText(const std::string& text) = 0;
    virtual void clearClipboard() = 0;
};

// Starts a new application: the program's one way to get an Application.
class ApplicationFactory {
public:
    virtual ~ApplicationFactory() = default;
    virtual std::shared_ptr<Application> create() = 0; // HostError when it cannot
};

} // namespace kelvor::xl
