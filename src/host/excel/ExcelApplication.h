#pragma once

// The spreadsheet application of the desktop, driven over COM automation: what the export
// procedures call when the reader runs beside it on Windows.

#include "export/Spreadsheet.h"
#include "host/excel/ComObject.h"

#include <filesystem>
#include <functional>
#include <memory>

namespace kelvor::com {

// Starts "Excel.Application" as a local server; HostError when it cannot.
DispatchPtr startExcel();

// COM for the thread that makes it (the user-interface thread), single-threaded apartment,
// for the holder's life.
class Apartment {
public:
    Apartment();
    Apartment(const Apartment&) = delete;
    Apartment& operator=(const Apartment&) = delete;
    ~Apartment();

private:
    bool initialised_;
};

std::shared_ptr<xl::Application> makeExcelApplication(DispatchPtr application,
                                                      std::filesystem::path workbookFolder);

// Each create() starts another application; one that was dropped stays open with its
// workbooks for the user. `start` makes the application object (startExcel; tests pass
// their own).
class ExcelApplicationFactory : public xl::ApplicationFactory {
public:
    explicit ExcelApplicationFactory(std::filesystem::path workbookFolder,
                                     std::function<DispatchPtr()> start = startExcel);
    std::shared_ptr<xl::Application> create() override;

private:
    Apartment apartment_;
    std::filesystem::path folder_;
    std::function<DispatchPtr()> start_;
};

// Whether "Excel.Application" names a server this system has, without starting it.
bool excelInstalled();

} // namespace kelvor::com
