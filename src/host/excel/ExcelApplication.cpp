#include "host/excel/ExcelApplication.h"

#include "Version.h"
#include "host/excel/ComErrors.h"
#include "host/excel/ComValues.h"
#include "host/excel/ExcelObjects.h"
#include "host/excel/SystemClipboard.h"

namespace kelvor::com {

namespace {

// Line breaks the clipboard's text carries: CR LF, whatever the report used.
std::wstring clipboardLines(const std::string& text) {
    std::wstring out;
    const std::wstring wide = widen(text);
    for (std::size_t i = 0; i < wide.size(); ++i) {
        if (wide[i] == L'\r' || wide[i] == L'\n') {
            out += L"\r\n";
            if (wide[i] == L'\r' && i + 1 < wide.size() && wide[i + 1] == L'\n') {
                ++i;
            }
        } else {
            out += wide[i];
        }
    }
    return out;
}

class ExcelSelection : public xl::Selection, public ExcelHandle {
public:
    using ExcelHandle::ExcelHandle;
    xl::RangePtr AsRange() override {
        return makeRange(object().wrap(object().dispatch(), L"Range"));
    }
    std::shared_ptr<xl::ChartSelection> AsChartSelection() override {
        return makeChartSelection(object().wrap(object().dispatch(), L"Selection"));
    }
};

class ExcelApplication : public xl::Application, public ExcelHandle {
public:
    using ExcelHandle::ExcelHandle;
    void setVisible(bool visible) override { object().put(L"Visible", boolean(visible)); }
    void setDisplayAlerts(bool display) override {
        object().put(L"DisplayAlerts", boolean(display));
    }
    void setScreenUpdating(bool updating) override {
        object().put(L"ScreenUpdating", boolean(updating));
    }
    void setCalculation(std::int32_t mode) override { object().put(L"Calculation", i4(mode)); }
    void Calculate() override { object().call(L"Calculate"); }
    void setCutCopyMode(bool mode) override { object().put(L"CutCopyMode", boolean(mode)); }
    std::shared_ptr<xl::Workbooks> Workbooks() override {
        return makeWorkbooks(object().child(L"Workbooks", L"Workbooks"));
    }
    xl::WorkbookPtr ActiveWorkbook() override {
        return makeWorkbook(object().child(L"ActiveWorkbook", L"Workbook"));
    }
    xl::SheetPtr ActiveSheet() override {
        return makeSheet(object().child(L"ActiveSheet", L"Sheet"));
    }
    std::shared_ptr<xl::Sheets> Sheets() override {
        return makeSheets(object().child(L"Sheets", L"Sheets"));
    }
    std::shared_ptr<xl::Sheets> Worksheets() override {
        return makeSheets(object().child(L"Worksheets", L"Sheets"));
    }
    std::shared_ptr<xl::Selection> Selection() override {
        return std::make_shared<ExcelSelection>(object().child(L"Selection", L"Selection"));
    }
    xl::RangePtr ActiveCell() override {
        return makeRange(object().child(L"ActiveCell", L"Range"));
    }
    std::shared_ptr<xl::Chart> ActiveChart() override {
        return makeChart(object().child(L"ActiveChart", L"Chart"));
    }
    void setClipboardText(const std::string& text) override {
        Session& session = *object().cache();
        session.pasteText = text;
        session.onClipboard = putClipboardText(clipboardLines(text));
    }
    void clearClipboard() override {
        Session& session = *object().cache();
        session.pasteText.clear();
        session.onClipboard = false;
        emptyClipboard();
    }
};

} // namespace

DispatchPtr startExcel() {
    CLSID clsid;
    HRESULT hr = CLSIDFromProgID(L"Excel.Application", &clsid);
    if (SUCCEEDED(hr)) {
        DispatchPtr application;
        hr = CoCreateInstance(clsid, nullptr, CLSCTX_LOCAL_SERVER | CLSCTX_INPROC_SERVER,
                              IID_IDispatch, reinterpret_cast<void**>(application.put()));
        if (SUCCEEDED(hr) && application) {
            return application;
        }
    }
    // What the runtime reports when CreateObject finds no such server.
    throw xl::HostError(429, ProgramTitle, "ActiveX component can't create object");
}

bool excelInstalled() {
    CLSID clsid;
    return SUCCEEDED(CLSIDFromProgID(L"Excel.Application", &clsid));
}

Apartment::Apartment()
    : initialised_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}

Apartment::~Apartment() {
    if (initialised_) {
        CoUninitialize();
    }
}

std::shared_ptr<xl::Application> makeExcelApplication(DispatchPtr application,
                                                      std::filesystem::path workbookFolder) {
    auto session = std::make_shared<Session>();
    session->workbookFolder = workbookFolder.wstring();
    return std::make_shared<ExcelApplication>(
        ComObject(std::move(application), L"Application", std::move(session)));
}

ExcelApplicationFactory::ExcelApplicationFactory(std::filesystem::path workbookFolder,
                                                 std::function<DispatchPtr()> start)
    : folder_(std::move(workbookFolder)), start_(std::move(start)) {}

std::shared_ptr<xl::Application> ExcelApplicationFactory::create() {
    return makeExcelApplication(start_(), folder_);
}

} // namespace kelvor::com
