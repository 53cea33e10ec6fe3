#pragma once

#include "host/app/Formula.h"
#include "host/model/Cell.h"

#include <map>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

namespace kelvor {
class Workbook;
class Worksheet;
} // namespace kelvor

namespace kelvor {

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

    // What the cells of one formula on one sheet read at the last calculation: by each sheet
    // its references name (its own for references without a name), that sheet's id and
    // revision; 0 and 0 for a name no worksheet has.
    struct SheetStamp {
        std::uint32_t id = 0;
        std::uint64_t revision = 0;
        bool operator==(const SheetStamp&) const = default;
    };
    // By the sheet holding the cells, not its id: a sheet set aside and put back keeps its
    // cells and what they were calculated from under a new id. A sheet made later where a
    // removed one stood in memory has only cells not calculated yet.
    using GroupStamps = std::map<std::pair<const Worksheet*, std::string>, std::vector<SheetStamp>>;
    GroupStamps& groupStamps(const Workbook& book) { return groups_[&book]; }

private:
    std::unordered_map<std::string, Formula> parsed_;
    std::unordered_map<const Workbook*, GroupStamps> groups_;
    std::unordered_map<const Workbook*, SheetRevisions> withoutFormulas_;
};

// Calculates the R1C1 formulas of the workbook and stores the results: those set since the
// last calculation, and those reading a sheet that changed since, as often as results change
// further sheets; the rest keep their results, which a full calculation would give again.
// A circular reference met on the way calculates everything, in the full order. References to
// formula cells are calculated first; a circular reference gives 0. Results that did not
// change leave their sheets untouched, so unchanged sheets keep their revision. Unknown
// functions and names give #NAME?, values that do not fit the operation #VALUE!, references
// outside the sheet or to a missing sheet #REF!. TIMEVALUE takes a text (a time, or a date
// with a time) or a number (its time of day).
void calculateWorkbook(Workbook& book, FormulaCache& cache);

} // namespace kelvor
