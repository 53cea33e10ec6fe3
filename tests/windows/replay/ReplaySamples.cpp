#include "ReplaySamples.h"

#include <vector>

namespace kelvor::test::replay {

namespace {

std::string lines(const std::vector<std::string>& list, const char* end = "\r\n") {
    std::string text;
    for (const std::string& line : list) {
        text += line + end;
    }
    return text;
}

} // namespace

std::string rateReport(const std::string& peak, const std::string& deformation) {
    return lines({"CONSTANT RATE TEST DATA",
                  "Kelvor 4410 serial 3318",
                  "Force units in lbf",
                  "Deflection units in in",
                  "Test speed: 0.50 in/min",
                  "Sample: Carton 12",
                  "Operator: MK",
                  "",
                  "Preload: 2.0 lbf",
                  "Peak force: " + peak,
                  "Deformation at peak: " + deformation,
                  "Result: PASS",
                  "6 points",
                  "DEFLECTION,FORCE",
                  "0.000,0.0",
                  "0.080,96.4",
                  "0.160,201.7",
                  "0.240,344.0",
                  "0.320,480.2",
                  "0.412," + peak});
}

std::string secondRateReport() {
    return lines({"CONSTANT RATE TEST DATA",
                  "Kelvor 4410 serial 3318",
                  "Force units in lbf",
                  "Deflection units in in",
                  "Test speed: 0.50 in/min",
                  "Sample: Carton 13",
                  "Operator: \"MK\", night shift",
                  "",
                  "Preload: 2.0 lbf",
                  "Result: PASS",
                  "Peak force: 598.1",
                  "Deformation at peak: 0.398",
                  "Cycle 2 of 3",
                  "5 points recorded",
                  "DEFLECTION,FORCE",
                  "0.000,0.0",
                  "0.100,150.9",
                  "0.200,322.5",
                  "0.300,470.0",
                  "0.398,598.1"});
}

std::string loadReport() {
    return lines({"CONSTANT LOAD TEST DATA", "Kelvor 5120 serial 0871", "Force units in lbf",
                  "Deflection units in in", "Temperature units in F", "Sample: Stack 4",
                  "Load: 250 lbf", "Operator: MK", "Start: 03/14/26 08:00:00", "", "4 points",
                  "DATE,TIME,FORCE,DEFLECTION,TEMPERATURE,HUMIDITY",
                  "3/14/26,08:00:00,250.1,0.0102,71.8,45", "3/14/26,09:00:00,250.0,0.0154,72.0,46",
                  "3/14/26,10:00:00,249.8,0.0181,72.3,46",
                  "3/14/26,11:00:00,250.2,0.0197,72.1,47"});
}

std::string loadReportWithoutForce() {
    return "x" + lines({"CONSTANT LOAD TEST DATA", "Kelvor 5120 serial 0902", "Force units in lbf",
                        "Deflection units in mm", "Sample: Foam 2", "", "", "", "", "3 points",
                        "DATE,TIME,DEFLECTION", "3/15/26,12:00:00,0.41", "3/15/26,12:30:00,0.57",
                        "3/15/26,13:00:00,0.66"},
                       "\n");
}

} // namespace kelvor::test::replay
