#pragma once

#include "ForwardingApplication.h"
#include "export/Spreadsheet.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace kelvor::test {

// An application that has gone away: every member fails the way automation reports it.
// One that `showsItself` still takes Visible, so it gets past its own start.
class VanishedApplication : public xl::Application {
public:
    explicit VanishedApplication(bool showsItself = false) : showsItself_(showsItself) {}

    void setVisible(bool) override {
        if (!showsItself_) {
            fail();
        }
    }
    void setDisplayAlerts(bool) override { fail(); }
    void setScreenUpdating(bool) override { fail(); }
    void setCalculation(std::int32_t) override { fail(); }
    void Calculate() override { fail(); }
    void setCutCopyMode(bool) override { fail(); }
    std::shared_ptr<xl::Workbooks> Workbooks() override { fail(); }
    xl::WorkbookPtr ActiveWorkbook() override { fail(); }
    xl::SheetPtr ActiveSheet() override { fail(); }
    std::shared_ptr<xl::Sheets> Sheets() override { fail(); }
    std::shared_ptr<xl::Sheets> Worksheets() override { fail(); }
    std::shared_ptr<xl::Selection> Selection() override { fail(); }
    xl::RangePtr ActiveCell() override { fail(); }
    std::shared_ptr<xl::Chart> ActiveChart() override { fail(); }
    void setClipboardText(const std::string&) override { fail(); }
    void clearClipboard() override { fail(); }

private:
    [[noreturn]] static void fail();

    bool showsItself_;
};

// Passes every member on to a real application and writes the application-wide settings
// into a shared log, so their order against other events can be checked.
class RecordingApplication : public ForwardingApplication {
public:
    RecordingApplication(std::shared_ptr<xl::Application> inner, std::vector<std::string>& log)
        : ForwardingApplication(std::move(inner)), log_(log) {}

    void setVisible(bool visible) override;
    void setScreenUpdating(bool updating) override;
    void setCalculation(std::int32_t mode) override;
    void setClipboardText(const std::string& text) override;

private:
    std::vector<std::string>& log_;
};

// Passes every member on to a real application, except one call that fails with 1004 the way
// a refusing application does: the `failingCall`-th call of `member`, or of any member when
// `member` is empty. Calls on the objects handed out are not counted.
class FailingApplication : public xl::Application {
public:
    FailingApplication(std::shared_ptr<xl::Application> inner, int failingCall,
                       std::string member = {})
        : inner_(std::move(inner)), callsLeft_(failingCall), member_(std::move(member)) {}

    void setVisible(bool visible) override { pass("setVisible")->setVisible(visible); }
    void setDisplayAlerts(bool display) override {
        pass("setDisplayAlerts")->setDisplayAlerts(display);
    }
    void setScreenUpdating(bool updating) override {
        pass("setScreenUpdating")->setScreenUpdating(updating);
    }
    void setCalculation(std::int32_t mode) override {
        pass("setCalculation")->setCalculation(mode);
    }
    void Calculate() override { pass("Calculate")->Calculate(); }
    void setCutCopyMode(bool mode) override { pass("setCutCopyMode")->setCutCopyMode(mode); }
    std::shared_ptr<xl::Workbooks> Workbooks() override { return pass("Workbooks")->Workbooks(); }
    xl::WorkbookPtr ActiveWorkbook() override { return pass("ActiveWorkbook")->ActiveWorkbook(); }
    xl::SheetPtr ActiveSheet() override { return pass("ActiveSheet")->ActiveSheet(); }
    std::shared_ptr<xl::Sheets> Sheets() override { return pass("Sheets")->Sheets(); }
    std::shared_ptr<xl::Sheets> Worksheets() override { return pass("Worksheets")->Worksheets(); }
    std::shared_ptr<xl::Selection> Selection() override { return pass("Selection")->Selection(); }
    xl::RangePtr ActiveCell() override { return pass("ActiveCell")->ActiveCell(); }
    std::shared_ptr<xl::Chart> ActiveChart() override { return pass("ActiveChart")->ActiveChart(); }
    void setClipboardText(const std::string& text) override {
        pass("setClipboardText")->setClipboardText(text);
    }
    void clearClipboard() override { pass("clearClipboard")->clearClipboard(); }

    bool failed() const { return callsLeft_ < 0; }

private:
    xl::Application* pass(const char* member);

    std::shared_ptr<xl::Application> inner_;
    int callsLeft_;
    std::string member_;
};

// Hands out what `make` returns and counts the applications started.
class CountingFactory : public xl::ApplicationFactory {
public:
    explicit CountingFactory(std::function<std::shared_ptr<xl::Application>()> make)
        : make_(std::move(make)) {}
    std::shared_ptr<xl::Application> create() override {
        ++created;
        return make_();
    }
    int created = 0;

private:
    std::function<std::shared_ptr<xl::Application>()> make_;
};

} // namespace kelvor::test
