#pragma once

#include "export/Spreadsheet.h"
#include "host/app/state/ApplicationState.h"

#include <optional>

namespace kelvor {

// The application's open workbooks.
class BuiltinWorkbooks : public xl::Workbooks {
public:
    explicit BuiltinWorkbooks(std::shared_ptr<ApplicationState> app);

    std::int32_t Count() override;
    xl::WorkbookPtr Item(std::int32_t index) override;
    // A new workbook "Book<n>" with the default sheets, appended and made active.
    xl::WorkbookPtr Add() override;

private:
    std::shared_ptr<ApplicationState> app_;
};

class BuiltinWorkbook : public xl::Workbook {
public:
    BuiltinWorkbook(std::shared_ptr<ApplicationState> app, std::shared_ptr<BookState> book);

    void Activate() override;
    std::string Name() override;
    std::shared_ptr<xl::Sheets> Sheets() override;
    std::shared_ptr<xl::Sheets> Worksheets() override;
    std::shared_ptr<xl::Charts> Charts() override;
    // Claims the file at once; a file written before under the old name stays as it is.
    void setFileName(const std::string& name) override;
    void reopenFile(const std::string& name) override;
    void Close() override;
    std::shared_ptr<xl::SummaryFollow> FollowSummary() override;

private:
    std::shared_ptr<ApplicationState> app_;
    std::shared_ptr<BookState> book_;
};

// The sheets of one workbook: all of them, or its worksheets only.
class BuiltinSheets : public xl::Sheets {
public:
    BuiltinSheets(std::shared_ptr<ApplicationState> app, std::shared_ptr<BookState> book,
                  bool worksheetsOnly);

    std::int32_t Count() override;
    xl::SheetPtr Item(std::int32_t index) override;
    // `after` must be a sheet of the same workbook; without one the new worksheet goes in
    // front of the active sheet.
    xl::SheetPtr Add(const xl::SheetPtr& after) override;

private:
    // The number of sheets this collection holds, and the workbook position of its item
    // `index` (0-based; nothing past the end). The export asks for items one by one, over and
    // over: neither builds a list.
    std::size_t count() const;
    std::optional<std::size_t> position(std::size_t index) const;

    std::shared_ptr<ApplicationState> app_;
    std::shared_ptr<BookState> book_;
    bool worksheetsOnly_;
};

} // namespace kelvor
