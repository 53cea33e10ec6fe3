// The application, its selection, and the factory that makes recorded applications.

#include "RecordedObjects.h"
#include "ReplayRecorder.h"

namespace kelvor::test::replay {

namespace {

// Line breaks as the clipboard's text carries them: CR LF, whatever the report used.
std::string clipboardLines(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            out += "\r\n";
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
                ++i;
            }
        } else {
            out += text[i];
        }
    }
    return out;
}

class RecordedSelection : public Recorded<xl::Selection> {
public:
    using Recorded::Recorded;
    // The selection is the selected object itself: no call.
    xl::RangePtr AsRange() override { return same(to().AsRange(), recordRange); }
    std::shared_ptr<xl::ChartSelection> AsChartSelection() override {
        return same(to().AsChartSelection(), recordChartSelection);
    }
};

std::shared_ptr<xl::Selection> recordSelection(std::shared_ptr<xl::Selection> inner, Handle h) {
    return std::make_shared<RecordedSelection>(std::move(inner), std::move(h));
}

class RecordedApplication : public Recorded<xl::Application> {
public:
    using Recorded::Recorded;
    void setVisible(bool v) override {
        put("Visible", boolean(v), [&] { to().setVisible(v); });
    }
    void setDisplayAlerts(bool v) override {
        put("DisplayAlerts", boolean(v), [&] { to().setDisplayAlerts(v); });
    }
    void setScreenUpdating(bool v) override {
        put("ScreenUpdating", boolean(v), [&] { to().setScreenUpdating(v); });
    }
    void setCalculation(std::int32_t mode) override {
        put("Calculation", i4(mode), [&] { to().setCalculation(mode); });
    }
    void Calculate() override {
        method("Calculate", [&] { to().Calculate(); });
    }
    void setCutCopyMode(bool v) override {
        put("CutCopyMode", boolean(v), [&] { to().setCutCopyMode(v); });
    }
    std::shared_ptr<xl::Workbooks> Workbooks() override {
        return child(
            "get", "Workbooks", "Workbooks", [&] { return to().Workbooks(); }, recordWorkbooks);
    }
    xl::WorkbookPtr ActiveWorkbook() override {
        return child(
            "get", "ActiveWorkbook", "Workbook", [&] { return to().ActiveWorkbook(); },
            recordWorkbook);
    }
    xl::SheetPtr ActiveSheet() override {
        return child(
            "get", "ActiveSheet", "Sheet", [&] { return to().ActiveSheet(); }, recordSheet);
    }
    std::shared_ptr<xl::Sheets> Sheets() override {
        return child(
            "get", "Sheets", "Sheets", [&] { return to().Sheets(); }, recordSheets);
    }
    std::shared_ptr<xl::Sheets> Worksheets() override {
        return child(
            "get", "Worksheets", "Sheets", [&] { return to().Worksheets(); }, recordSheets);
    }
    std::shared_ptr<xl::Selection> Selection() override {
        return child(
            "get", "Selection", "Selection", [&] { return to().Selection(); }, recordSelection);
    }
    xl::RangePtr ActiveCell() override {
        return child(
            "get", "ActiveCell", "Range", [&] { return to().ActiveCell(); }, recordRange);
    }
    std::shared_ptr<xl::Chart> ActiveChart() override {
        return child(
            "get", "ActiveChart", "Chart", [&] { return to().ActiveChart(); }, recordChart);
    }
    // The system clipboard is no member of the application: nothing is called here, and
    // Paste finds the text there.
    void setClipboardText(const std::string& text) override {
        log().pasteText = clipboardLines(text);
        to().setClipboardText(text);
    }
    void clearClipboard() override {
        log().pasteText.clear();
        to().clearClipboard();
    }
};

} // namespace

std::shared_ptr<xl::Application> recordApplication(std::shared_ptr<xl::Application> inner,
                                                   Handle handle) {
    return std::make_shared<RecordedApplication>(std::move(inner), std::move(handle));
}

std::shared_ptr<xl::Application> RecordingFactory::create() {
    std::shared_ptr<xl::Application> inner = inner_.create();
    const int id = log_->startApplication();
    return recordApplication(std::move(inner), Handle{log_, log_->section(), id});
}

std::string cellValue(const xl::Variant& value) {
    if (const auto* number = std::get_if<double>(&value)) {
        return r8(*number);
    }
    if (const auto* text = std::get_if<std::string>(&value)) {
        return bstr(*text);
    }
    if (const auto* b = std::get_if<bool>(&value)) {
        return boolean(*b);
    }
    if (const auto* d = std::get_if<xl::Date>(&value)) {
        return date(d->serial);
    }
    return empty();
}

} // namespace kelvor::test::replay
