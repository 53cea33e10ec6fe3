// Sheets, workbooks and their collections.

#include "host/excel/ComValues.h"
#include "host/excel/ExcelObjects.h"

#include <windows.h>

namespace kelvor::com {

namespace {

constexpr std::int32_t XlOpenXmlWorkbook = 51;

std::vector<NamedArg> after(const xl::SheetPtr& sheet) {
    std::vector<NamedArg> named;
    named.push_back({L"After", argument(sheet)});
    return named;
}

class ExcelSheet : public xl::Sheet, public ExcelHandle {
public:
    using ExcelHandle::ExcelHandle;
    std::string Name() override { return toText(*object().get(L"Name").get()); }
    void setName(const std::string& name) override { object().put(L"Name", text(name)); }
    // A chart sheet's own Type member answers its chart's type; its type information says
    // what kind of sheet it is, and the member is read only without one.
    std::int32_t Type() override {
        const std::wstring& kind = object().typeName();
        if (kind == L"Chart") {
            return xl::xlChart;
        }
        if (kind == L"Worksheet") {
            return xl::xlWorksheet;
        }
        return toInt32(*object().get(L"Type").get());
    }
    std::int32_t Visible() override { return toInt32(*object().get(L"Visible").get()); }
    void setVisible(std::int32_t visible) override { object().put(L"Visible", i4(visible)); }
    void Activate() override { object().call(L"Activate"); }
    void Delete() override { object().call(L"Delete"); }
    std::shared_ptr<xl::PageSetup> PageSetup() override {
        return makePageSetup(object().child(L"PageSetup", L"PageSetup"));
    }
    xl::RangePtr Range(const std::string& address) override {
        return makeRange(object().child(L"Range", L"Range", {text(address)}));
    }
    xl::RangePtr Range(const std::string& cell1, const std::string& cell2) override {
        return makeRange(object().child(L"Range", L"Range", {text(cell1), text(cell2)}));
    }
    xl::RangePtr Cells(std::int32_t row, std::int32_t column) override {
        return makeRange(object().child(L"Cells", L"Range", {i4(row), i4(column)}));
    }
    xl::RangePtr Columns(const std::string& columns) override {
        return makeRange(object().child(L"Columns", L"Range", {text(columns)}));
    }
    // Text set for pasting comes from the system clipboard, or is written in when the
    // clipboard could not take it; with none set, what the application copied is pasted.
    void Paste() override {
        Session& session = *object().cache();
        if (session.onClipboard || session.pasteText.empty()) {
            object().call(L"Paste");
        } else {
            writeLines(object(), session.pasteText);
        }
    }
    std::shared_ptr<xl::Chart> AsChart() override {
        if (Type() != xl::xlChart) {
            throw xl::programError(xl::ErrMemberNotSupported);
        }
        return makeChart(object().wrap(object().dispatch(), L"Chart"));
    }
};

class ExcelSheets : public xl::Sheets, public ExcelHandle {
public:
    using ExcelHandle::ExcelHandle;
    std::int32_t Count() override { return toInt32(*object().get(L"Count").get()); }
    xl::SheetPtr Item(std::int32_t index) override {
        return makeSheet(object().child(L"Item", L"Sheet", {i4(index)}));
    }
    xl::SheetPtr Add(const xl::SheetPtr& behind) override {
        return makeSheet(object().child(L"Add", L"Worksheet", {}, after(behind)));
    }
};

class ExcelWorkbook : public xl::Workbook, public ExcelHandle {
public:
    using ExcelHandle::ExcelHandle;
    void Activate() override { object().call(L"Activate"); }
    std::string Name() override { return toText(*object().get(L"Name").get()); }
    std::shared_ptr<xl::Sheets> Sheets() override {
        return makeSheets(object().child(L"Sheets", L"Sheets"));
    }
    std::shared_ptr<xl::Sheets> Worksheets() override {
        return makeSheets(object().child(L"Worksheets", L"Sheets"));
    }
    std::shared_ptr<xl::Charts> Charts() override {
        return makeCharts(object().child(L"Charts", L"Sheets"));
    }
    // Saved at once into the workbook folder under that name (" (2)", ... when a file has it
    // already), so later saves and the close need to ask nothing.
    void setFileName(const std::string& name) override {
        const std::wstring folder = object().cache()->workbookFolder;
        const std::wstring base = folder + L"\\" + widen(name);
        std::wstring path = base + L".xlsx";
        for (int n = 2; GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; ++n) {
            path = base + L" (" + std::to_wstring(n) + L").xlsx";
        }
        std::vector<NamedArg> named;
        named.push_back({L"Filename", text(path)});
        named.push_back({L"FileFormat", i4(XlOpenXmlWorkbook)});
        object().call(L"SaveAs", {}, std::move(named));
    }
    void Close() override {
        std::vector<NamedArg> named;
        named.push_back({L"SaveChanges", boolean(true)});
        object().call(L"Close", {}, std::move(named));
    }
};

class ExcelWorkbooks : public xl::Workbooks, public ExcelHandle {
public:
    using ExcelHandle::ExcelHandle;
    std::int32_t Count() override { return toInt32(*object().get(L"Count").get()); }
    xl::WorkbookPtr Item(std::int32_t index) override {
        return makeWorkbook(object().child(L"Item", L"Workbook", {i4(index)}));
    }
    xl::WorkbookPtr Add() override { return makeWorkbook(object().child(L"Add", L"Workbook")); }
};

} // namespace

std::shared_ptr<xl::Sheet> makeSheet(ComObject o) {
    return std::make_shared<ExcelSheet>(std::move(o));
}
std::shared_ptr<xl::Sheets> makeSheets(ComObject o) {
    return std::make_shared<ExcelSheets>(std::move(o));
}
std::shared_ptr<xl::Workbook> makeWorkbook(ComObject o) {
    return std::make_shared<ExcelWorkbook>(std::move(o));
}
std::shared_ptr<xl::Workbooks> makeWorkbooks(ComObject o) {
    return std::make_shared<ExcelWorkbooks>(std::move(o));
}

} // namespace kelvor::com
