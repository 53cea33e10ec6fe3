#pragma once

// The reports the replay scenarios export, written for these tests: both kinds of test, with
// the variations the export reads differently (header rows, point counts with text after
// them, a force column or none, a humidity column and its degree sign, LF line ends, a stray
// character before the title).

#include <string>

namespace kelvor::test::replay {

// A constant-rate report with header row 14 and its results in rows 10 and 11.
std::string rateReport(const std::string& peak, const std::string& deformation);
// Header row 15, one more header line, a quoted field and a point count with text after it.
std::string secondRateReport();
// Date, time, force, deflection, temperature and humidity.
std::string loadReport();
// Deflection alone, with LF line ends and a stray character before the title.
std::string loadReportWithoutForce();

} // namespace kelvor::test::replay
