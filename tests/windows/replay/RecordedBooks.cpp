// Workbooks, sheets and their collections.

#include "RecordedObjects.h"

namespace kelvor::test::replay {

namespace {

// The Open XML workbook format SaveAs writes.
constexpr std::int32_t OpenXmlWorkbook = 51;

auto textOf = [](const std::string& s) { return bstr(s); };
auto count = [](std::int32_t n) { return i4(n); };

class RecordedWorkbooks : public Recorded<xl::Workbooks> {
public:
    using Recorded::Recorded;
    std::int32_t Count() override {
        return get<std::int32_t>(
            "Count", [&] { return to().Count(); }, count);
    }
    xl::WorkbookPtr Item(std::int32_t index) override {
        return child("get", "Item", "Workbook", [&] { return to().Item(index); }, recordWorkbook,
                     {i4(index)});
    }
    xl::WorkbookPtr Add() override {
        return child(
            "call", "Add", "Workbook", [&] { return to().Add(); }, recordWorkbook);
    }
};

class RecordedWorkbook : public Recorded<xl::Workbook> {
public:
    using Recorded::Recorded;
    void Activate() override {
        method("Activate", [&] { to().Activate(); });
    }
    std::string Name() override {
        return get<std::string>(
            "Name", [&] { return to().Name(); }, textOf);
    }
    std::shared_ptr<xl::Sheets> Sheets() override {
        return child(
            "get", "Sheets", "Sheets", [&] { return to().Sheets(); }, recordSheets);
    }
    std::shared_ptr<xl::Sheets> Worksheets() override {
        return child(
            "get", "Worksheets", "Sheets", [&] { return to().Worksheets(); }, recordSheets);
    }
    std::shared_ptr<xl::Charts> Charts() override {
        return child(
            "get", "Charts", "Sheets", [&] { return to().Charts(); }, recordCharts);
    }
    // The workbook is saved into the workbook folder under that name at once.
    void setFileName(const std::string& name) override {
        const std::string path = log().options().workbookFolder + "\\" + name + ".xlsx";
        method("SaveAs", [&] { to().setFileName(name); }, {},
               {{"Filename", bstr(path)}, {"FileFormat", i4(OpenXmlWorkbook)}});
    }
    void Close() override {
        method("Close", [&] { to().Close(); }, {}, {{"SaveChanges", boolean(true)}});
    }
    // An automation application keeps no summary aside: the export rebuilds it.
};

class RecordedSheets : public Recorded<xl::Sheets> {
public:
    using Recorded::Recorded;
    std::int32_t Count() override {
        return get<std::int32_t>(
            "Count", [&] { return to().Count(); }, count);
    }
    xl::SheetPtr Item(std::int32_t index) override {
        return child("get", "Item", "Sheet", [&] { return to().Item(index); }, recordSheet,
                     {i4(index)});
    }
    xl::SheetPtr Add(const xl::SheetPtr& after) override {
        return child("call", "Add", "Worksheet", [&] { return to().Add(innerOf(after)); },
                     recordSheet, {}, {{"After", argumentOf(after)}});
    }
};

class RecordedSheet : public Recorded<xl::Sheet> {
public:
    using Recorded::Recorded;
    std::string Name() override {
        return get<std::string>(
            "Name", [&] { return to().Name(); }, textOf);
    }
    void setName(const std::string& name) override {
        put("Name", bstr(name), [&] { to().setName(name); });
    }
    // Told by the sheet's type information, which the replay answers without a call.
    std::int32_t Type() override { return to().Type(); }
    std::int32_t Visible() override {
        return get<std::int32_t>(
            "Visible", [&] { return to().Visible(); }, count);
    }
    void setVisible(std::int32_t v) override {
        put("Visible", i4(v), [&] { to().setVisible(v); });
    }
    void Activate() override {
        method("Activate", [&] { to().Activate(); });
    }
    void Delete() override {
        method("Delete", [&] { to().Delete(); });
    }
    std::shared_ptr<xl::PageSetup> PageSetup() override {
        return child(
            "get", "PageSetup", "PageSetup", [&] { return to().PageSetup(); }, recordPageSetup);
    }
    xl::RangePtr Range(const std::string& address) override {
        return child("get", "Range", "Range", [&] { return to().Range(address); }, recordRange,
                     {bstr(address)});
    }
    xl::RangePtr Range(const std::string& cell1, const std::string& cell2) override {
        return child("get", "Range", "Range", [&] { return to().Range(cell1, cell2); }, recordRange,
                     {bstr(cell1), bstr(cell2)});
    }
    xl::RangePtr Cells(std::int32_t row, std::int32_t column) override {
        return child("get", "Cells", "Range", [&] { return to().Cells(row, column); }, recordRange,
                     {i4(row), i4(column)});
    }
    xl::RangePtr Columns(const std::string& columns) override {
        return child("get", "Columns", "Range", [&] { return to().Columns(columns); }, recordRange,
                     {bstr(columns)});
    }
    // Text set for pasting goes through the system clipboard, or without one into column A
    // from row 1 down, one cell each; anything else is a range Copy took.
    void Paste() override {
        const std::string text = log().pasteText;
        if (text.empty() || log().options().clipboard) {
            if (!text.empty()) {
                log().clipboard(text);
            }
            method("Paste", [&] { to().Paste(); });
            return;
        }
        to().Paste();
        writeLines(text);
    }
    std::shared_ptr<xl::Chart> AsChart() override { return same(to().AsChart(), recordChart); }

private:
    void writeLines(const std::string& text) {
        std::int32_t row = 1;
        std::size_t start = 0;
        while (start < text.size()) {
            const std::size_t end = text.find("\r\n", start);
            const std::string line =
                text.substr(start, end == std::string::npos ? end : end - start);
            if (!line.empty()) {
                const Handle cell = cellHandle(row);
                log().call(cell.section, cell.id, "put", "Value", {bstr(line)}, {},
                           [] { return empty(); });
            }
            ++row;
            if (end == std::string::npos) {
                break;
            }
            start = end + 2;
        }
    }
    Handle cellHandle(std::int32_t row) {
        int id = 0;
        record("get", "Cells", {i4(row), i4(1)}, {}, [&] {
            id = log().newObject();
            return objectAnswer(id, "Range");
        });
        return Handle{handle().log, handle().section, id};
    }
};

} // namespace

std::shared_ptr<xl::Workbooks> recordWorkbooks(std::shared_ptr<xl::Workbooks> inner, Handle h) {
    return std::make_shared<RecordedWorkbooks>(std::move(inner), std::move(h));
}
std::shared_ptr<xl::Workbook> recordWorkbook(std::shared_ptr<xl::Workbook> inner, Handle h) {
    return std::make_shared<RecordedWorkbook>(std::move(inner), std::move(h));
}
std::shared_ptr<xl::Sheets> recordSheets(std::shared_ptr<xl::Sheets> inner, Handle h) {
    return std::make_shared<RecordedSheets>(std::move(inner), std::move(h));
}
std::shared_ptr<xl::Sheet> recordSheet(std::shared_ptr<xl::Sheet> inner, Handle h) {
    return std::make_shared<RecordedSheet>(std::move(inner), std::move(h));
}

} // namespace kelvor::test::replay
