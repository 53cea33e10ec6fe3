#include "host/app/automation/CellVariant.h"

#include <cmath>

namespace kelvor {

xl::Variant toVariant(const CellValue& value) {
    if (const auto* n = std::get_if<double>(&value)) {
        return *n;
    }
    if (const auto* t = textOf(value)) {
        return *t;
    }
    if (const auto* b = std::get_if<bool>(&value)) {
        return *b;
    }
    if (const auto* e = std::get_if<CellError>(&value)) {
        return std::string(errorText(*e));
    }
    return {};
}

CellValue toCellValue(const xl::Variant& value) {
    if (const auto* n = std::get_if<double>(&value)) {
        return std::isfinite(*n) ? CellValue(*n) : CellValue(CellError::Num);
    }
    if (const auto* t = std::get_if<std::string>(&value)) {
        return *t; // text stays text: nothing handed over is read as a number or a formula
    }
    if (const auto* b = std::get_if<bool>(&value)) {
        return *b;
    }
    if (const auto* d = std::get_if<xl::Date>(&value)) {
        return d->serial;
    }
    return {};
}

} // namespace kelvor
