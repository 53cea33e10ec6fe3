#pragma once

#include "host/app/Formula.h"
#include "host/model/Cell.h"

#include <string>
#include <unordered_map>

namespace kelvor {
class Workbook;
class Worksheet;
} // namespace kelvor

namespace kelvor::host {

// What calculation keeps from one run to the next: parsed formulas by their text (the cells
// of one filled range share one entry), and the sheets known to hold no formula.
class FormulaCache {
public:
    // Throws FormulaSyntaxError for a formula that does not parse.
    Formula get(const std::string& text);

    // By sheet, the revision at which it held no formula. A revision is never given twice, so
    // a new sheet that takes a removed one's place in memory is not taken for it.
    using SheetRevisions = std::unordered_map<const Worksheet*, std::uint64_t>;

    // Whether the sheet of the workbook held no formula when last looked at, and has not
    // changed since.
    bool knownWithoutFormulas(const Workbook& book, const Worksheet& sheet) const;
    // The sheets of the workbook found without formulas in a run; earlier ones are forgotten.
    void setSheetsWithoutFormulas(const Workbook& book, SheetRevisions sheets) {
        withoutFormulas_[&book] = std::move(sheets);
    }

private:
    std::unordered_map<std::string, Formula> parsed_;
    std::unordered_map<const Workbook*, SheetRevisions> withoutFormulas_;
};

// Calculates every R1C1 formula of the workbook and stores the results. References to
// formula cells are calculated first; a circular reference gives 0. Results that did not
// change leave their sheets untouched, so unchanged sheets keep their revision. Unknown
// functions and names give #NAME?, values that do not fit the operation #VALUE!, references
// outside the sheet or to a missing sheet #REF!. TIMEVALUE takes a text (a time, or a date
// with a time) or a number (its time of day).
void calculateWorkbook(Workbook& book, FormulaCache& cache);

} // namespace kelvor::host
