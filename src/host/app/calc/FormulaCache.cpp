#include "host/app/calc/FormulaCache.h"

namespace kelvor {

Formula FormulaCache::get(const std::string& text) {
    if (const auto found = parsed_.find(text); found != parsed_.end()) {
        return found->second;
    }
    auto formula = parseR1C1(text);
    parsed_.emplace(text, formula);
    return formula;
}

bool FormulaCache::knownWithoutFormulas(const Workbook& book, const Worksheet& sheet) const {
    const auto inBook = withoutFormulas_.find(book.key());
    if (inBook == withoutFormulas_.end()) {
        return false;
    }
    const auto found = inBook->second.find(sheet.key());
    return found != inBook->second.end() && found->second == sheet.revision();
}

bool FormulaCache::keeps(const Workbook& book) const {
    return groups_.contains(book.key()) || withoutFormulas_.contains(book.key()) ||
           columns_.contains(book.key());
}

void FormulaCache::forget(const Workbook& book) {
    groups_.erase(book.key());
    withoutFormulas_.erase(book.key());
    columns_.erase(book.key());
}

} // namespace kelvor
