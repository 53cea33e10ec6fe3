#pragma once

#include "export/HostError.h"

#include <stdexcept>
#include <string>

namespace kelvor {

// The failures the built-in application reports, numbered and worded the way automation
// reports them from the real application, all with the same source text.
inline constexpr const char* HostSource = "KelvorReader2 Spreadsheet";

xl::HostError hostError(int number, const std::string& description);
// 9: an item index outside the collection.
xl::HostError subscriptError();
// 1004 with the generic description: a bad address, a cell outside the sheet, a bad value.
xl::HostError objectError();
// 1004 with a description of its own.
xl::HostError methodError(const std::string& description);
// 1004: the workbook has a sheet of that name already.
xl::HostError nameTakenError();
// 438: the object lacks the member (worksheet members on a chart sheet).
xl::HostError unsupportedError();
// 91: nothing is active (no workbook, no sheet, no cell).
xl::HostError nothingActiveError();
// The object the handle stood for (a sheet, a workbook) is gone.
xl::HostError disconnectedError();
// The application itself is gone (closed by the user or released).
xl::HostError applicationGoneError();

// Runs a model operation, reporting the model's refusals (a position outside the sheet, a
// value it does not take) as the application's generic 1004.
template <class F> decltype(auto) modelCall(F&& operation) {
    try {
        return operation();
    } catch (const xl::HostError&) {
        throw;
    } catch (const std::out_of_range&) {
        throw objectError();
    } catch (const std::invalid_argument&) {
        throw objectError();
    }
}

} // namespace kelvor
