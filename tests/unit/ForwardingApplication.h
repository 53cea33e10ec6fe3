#pragma once

#include "export/Spreadsheet.h"

#include <memory>
#include <string>
#include <utility>

namespace kelvor::test {

// Passes every member on to another application; a wrapper overrides only what it changes.
class ForwardingApplication : public xl::Application {
public:
    explicit ForwardingApplication(std::shared_ptr<xl::Application> inner)
        : inner_(std::move(inner)) {}

    void setVisible(bool visible) override { inner_->setVisible(visible); }
    void setDisplayAlerts(bool display) override { inner_->setDisplayAlerts(display); }
    void setScreenUpdating(bool updating) override { inner_->setScreenUpdating(updating); }
    void setCalculation(std::int32_t mode) override { inner_->setCalculation(mode); }
    void Calculate() override { inner_->Calculate(); }
    void setCutCopyMode(bool mode) override { inner_->setCutCopyMode(mode); }
    std::shared_ptr<xl::Workbooks> Workbooks() override { return inner_->Workbooks(); }
    xl::WorkbookPtr ActiveWorkbook() override { return inner_->ActiveWorkbook(); }
    xl::SheetPtr ActiveSheet() override { return inner_->ActiveSheet(); }
    std::shared_ptr<xl::Sheets> Sheets() override { return inner_->Sheets(); }
    std::shared_ptr<xl::Sheets> Worksheets() override { return inner_->Worksheets(); }
    std::shared_ptr<xl::Selection> Selection() override { return inner_->Selection(); }
    xl::RangePtr ActiveCell() override { return inner_->ActiveCell(); }
    std::shared_ptr<xl::Chart> ActiveChart() override { return inner_->ActiveChart(); }
    void setClipboardText(const std::string& text) override { inner_->setClipboardText(text); }
    void clearClipboard() override { inner_->clearClipboard(); }

protected:
    xl::Application& inner() { return *inner_; }

private:
    std::shared_ptr<xl::Application> inner_;
};

} // namespace kelvor::test
