#pragma once

#include "host/app/calc/Formula.h"
#include "host/app/calc/FormulaColumns.h"
#include "host/model/Workbook.h"

#include <cstdint>
#include <map>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

namespace kelvor {

// What calculation keeps from one run to the next: parsed formulas by their text (the cells
// of one filled range share one entry), the sheets known to hold no formula, what each formula
// group read, and each formula sheet's columns as the last run left them.
class FormulaCache {
public:
    // Throws FormulaSyntaxError for a formula that does not parse.
    Formula get(const std::string& text);

    // By sheet key, the revision at which the sheet held no formula.
    using SheetRevisions = std::unordered_map<std::uint64_t, std::uint64_t>;

    // Whether the sheet of the workbook held no formula when last looked at, and has not
    // changed since.
    bool knownWithoutFormulas(const Workbook& book, const Worksheet& sheet) const;
    // The sheets of the workbook found without formulas in a run; earlier ones are forgotten.
    void setSheetsWithoutFormulas(const Workbook& book, SheetRevisions sheets) {
        withoutFormulas_[book.key()] = std::move(sheets);
    }

    // What the cells of one formula on one sheet read at the last calculation: by each sheet
    // its references name (its own for references without a name), that sheet's id and
    // revision; 0 and 0 for a name no worksheet has.
    struct SheetStamp {
        std::uint64_t key = 0;
        std::uint64_t revision = 0;
        bool operator==(const SheetStamp&) const = default;
    };
    // By the key of the sheet holding the cells and the formula text: a sheet set aside and
    // put back keeps its cells, its key and what they were calculated from.
    using GroupStamps = std::map<std::pair<std::uint64_t, std::string>, std::vector<SheetStamp>>;
    GroupStamps& groupStamps(const Workbook& book) { return groups_[book.key()]; }

    // By sheet key, the formula sheets' columns as the last run left them.
    using SheetColumns = std::unordered_map<std::uint64_t, FormulaColumns>;
    SheetColumns& formulaColumns(const Workbook& book) { return columns_[book.key()]; }

    // Whether anything of the workbook is kept; forget lets go of it, for a workbook closed.
    bool keeps(const Workbook& book) const;
    void forget(const Workbook& book);

private:
    std::unordered_map<std::string, Formula> parsed_;
    std::unordered_map<std::uint64_t, GroupStamps> groups_; // by workbook key
    std::unordered_map<std::uint64_t, SheetRevisions> withoutFormulas_;
    std::unordered_map<std::uint64_t, SheetColumns> columns_; // by workbook key
};

} // namespace kelvor
