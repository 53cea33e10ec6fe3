#pragma once

#include "export/Spreadsheet.h"
#include "host/app/state/ApplicationState.h"

namespace kelvor {

// The print layout of a worksheet or chart sheet. Margins are points and may not be
// negative; headers and footers take at most 255 characters; print title rows ("$15:$15")
// belong to worksheets only.
class BuiltinPageSetup : public xl::PageSetup {
public:
    explicit BuiltinPageSetup(SheetRef sheet);

    void setLeftMargin(double points) override;
    void setRightMargin(double points) override;
    void setTopMargin(double points) override;
    void setBottomMargin(double points) override;
    void setCenterHeader(const std::string& text) override;
    std::string LeftFooter() override;
    void setLeftFooter(const std::string& text) override;
    void setCenterFooter(const std::string& text) override;
    void setRightFooter(const std::string& text) override;
    void setPrintTitleRows(const std::string& rows) override;

private:
    const kelvor::PageSetup& current();
    void change(const std::function<void(kelvor::PageSetup&)>& edit);
    void setMargin(double kelvor::PageSetup::*margin, double points, const char* name);
    void setText(std::string kelvor::PageSetup::*field, const std::string& text, const char* name);

    SheetRef sheet_;
};

} // namespace kelvor
