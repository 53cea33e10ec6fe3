#pragma once

#include "host/app/calc/FormulaCache.h"
#include "host/model/Cell.h"
#include "host/model/Workbook.h"

#include <cstdint>
#include <map>
#include <span>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

namespace kelvor {

// Calculates the R1C1 formulas of the workbook and stores the results: those set since the
// last calculation, and those reading a sheet that changed since, as often as results change
// further sheets; the rest keep their results, which a full calculation would give again.
// A circular reference met on the way calculates everything, in the full order. References to
// formula cells are calculated first; a circular reference gives 0. Results that did not
// change leave their sheets untouched, so unchanged sheets keep their revision. Unknown
// functions and names give #NAME?, values that do not fit the operation #VALUE!, references
// outside the sheet or to a missing sheet #REF!. TIMEVALUE takes a text (a time, or a date
// with a time) or a number (its time of day). `aside`: the keys of sheets taken out of the
// workbook that may be put back; what their formulas were calculated from is kept for then.
void calculateWorkbook(Workbook& book, FormulaCache& cache,
                       std::span<const std::uint64_t> aside = {});

} // namespace kelvor
