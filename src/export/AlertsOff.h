#pragma once

#include "export/Spreadsheet.h"

#include <utility>

namespace kelvor {

// Runs `work` with the application's alerts off, so deleting sheets asks nothing, and turns
// them on again afterwards, also when `work` fails: an application left without alerts would
// let its user close unsaved workbooks without being asked to save them.
template <class Work> void withAlertsOff(xl::Application& app, Work&& work) {
    app.setDisplayAlerts(false);
    try {
        std::forward<Work>(work)();
    } catch (...) {
        try {
            app.setDisplayAlerts(true);
        } catch (...) {
            // The application is gone or refuses; the original failure is the one to report.
        }
        throw;
    }
    app.setDisplayAlerts(true);
}

} // namespace kelvor
