#pragma once

#include "export/Spreadsheet.h"
#include "host/app/state/ApplicationState.h"

#include <vector>

namespace kelvor {

// A range of cells on a worksheet: one or more areas. It names the sheet by its workbook and
// id, so it fails with a HostError once the sheet is gone.
class BuiltinRange : public xl::Range {
public:
    // `columns`: obtained through Columns, which AutoFit needs unless the areas are whole
    // columns anyway.
    BuiltinRange(SheetRef sheet, std::vector<CellRange> areas, bool columns = false);

    const SheetRef& sheetRef() const { return sheet_; }
    const std::vector<CellRange>& areas() const { return areas_; }

    void Select() override;
    void Activate() override;
    xl::Variant Value() override;
    void setValue(const xl::Variant& value) override;
    std::string Text() override;
    void setFormulaR1C1(const std::string& formula) override;
    void setNumberFormat(const std::string& format) override;
    void setHorizontalAlignment(std::int32_t alignment) override;
    void setVerticalAlignment(std::int32_t alignment) override;
    void setWrapText(bool wrap) override;
    void setOrientation(std::int16_t degrees) override;
    void setAddIndent(bool indent) override;
    void setShrinkToFit(bool shrink) override;
    void setMergeCells(bool merge) override;
    std::shared_ptr<xl::Font> Font() override;
    xl::RangePtr Columns() override;
    void AutoFit() override;
    void TextToColumns(const xl::RangePtr& destination,
                       const xl::TextToColumnsOptions& options) override;
    void FillDown() override;
    void Copy() override;
    void PasteSpecial(std::int32_t paste, std::int32_t operation, bool skipBlanks,
                      bool transpose) override;
    void Delete(std::int32_t shift) override;

private:
    Worksheet& worksheet() const { return sheet_.worksheet(); }
    ApplicationState& app() const { return *sheet_.app; }
    // Changes the format of every cell of the range.
    void restyleAll(const std::function<void(Style&)>& edit);
    // What the application shows after reads: formula results up to date when calculation
    // is automatic. Returns the first cell.
    const Cell* settledFirstCell();

    SheetRef sheet_;
    std::vector<CellRange> areas_;
    bool columns_;
};

// Makes the areas the sheet's selection, the active cell at the first area's top left.
void selectAreas(const SheetRef& sheet, std::vector<CellRange> areas);

} // namespace kelvor
