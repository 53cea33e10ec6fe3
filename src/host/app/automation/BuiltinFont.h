#pragma once

#include "export/Spreadsheet.h"
#include "host/app/state/ApplicationState.h"

namespace kelvor {

// The font of a range's cells.
class BuiltinFont : public xl::Font {
public:
    BuiltinFont(SheetRef sheet, std::vector<CellRange> areas);

    void setName(const std::string& name) override;
    // "Bold" and "Bold Italic" make the text bold, any other style ("Regular") not.
    void setFontStyle(const std::string& style) override;
    void setSize(double points) override; // 1 to 409
    void setBold(bool bold) override;

private:
    void change(const std::function<void(kelvor::Font&)>& edit);

    SheetRef sheet_;
    std::vector<CellRange> areas_;
};

} // namespace kelvor
