#pragma once

#include "export/Spreadsheet.h"
#include "host/app/state/ApplicationState.h"

namespace kelvor {

// A worksheet or chart sheet of a workbook. Worksheet members on a chart sheet fail with 438;
// every member fails once the sheet, its workbook or the application is gone.
class BuiltinSheet : public xl::Sheet {
public:
    explicit BuiltinSheet(SheetRef sheet);

    const SheetRef& sheetRef() const { return sheet_; }

    std::string Name() override;
    void setName(const std::string& name) override;
    std::int32_t Type() override;
    std::int32_t Visible() override;
    void setVisible(std::int32_t visible) override;
    void Activate() override;
    void Delete() override;
    std::shared_ptr<xl::PageSetup> PageSetup() override;
    xl::RangePtr Range(const std::string& address) override;
    xl::RangePtr Range(const std::string& cell1, const std::string& cell2) override;
    xl::RangePtr Cells(std::int32_t row, std::int32_t column) override;
    xl::RangePtr Columns(const std::string& columns) override;
    void Paste() override;
    std::shared_ptr<xl::Chart> AsChart() override;

private:
    SheetRef sheet_;
};

} // namespace kelvor
