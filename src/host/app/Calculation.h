#pragma once

#include "host/app/Formula.h"
#include "host/model/Cell.h"

#include <string>
#include <unordered_map>

namespace kelvor {
class Workbook;
}

namespace kelvor::host {

// Parsed formulas by their text: the cells of one filled range share one entry.
class FormulaCache {
public:
    // Throws FormulaSyntaxError for a formula that does not parse.
    Formula get(const std::string& text);

private:
    std::unordered_map<std::string, Formula> parsed_;
};

// Calculates every R1C1 formula of the workbook and stores the results. References to
// formula cells are calculated first; a circular reference gives 0. Results that did not
// change leave their sheets untouched, so unchanged sheets keep their revision. Unknown
// functions and names give #NAME?, values that do not fit the operation #VALUE!, references
// outside the sheet or to a missing sheet #REF!. TIMEVALUE takes a text (a time, or a date
// with a time) or a number (its time of day).
void calculateWorkbook(Workbook& book, FormulaCache& cache);

} // namespace kelvor::host
