#pragma once

#include "host/model/FormulaText.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

namespace kelvor {

// Error values a cell can hold, shown as #NULL!, #DIV/0!, #VALUE!, #REF!, #NAME?, #NUM!, #N/A.
enum class CellError { Null, Div0, Value, Ref, Name, Num, NA };

std::string_view errorText(CellError error);

// Empty, number, text (UTF-8), boolean or error.
using CellValue = std::variant<std::monostate, double, std::string, bool, CellError>;

enum class FormulaNotation { A1, R1C1 };

using StyleId = std::uint32_t;

struct Cell {
    // The plain value, or for a formula cell the result of its last calculation.
    CellValue value;
    // Empty for a plain value; otherwise the formula exactly as entered, with its '='.
    FormulaText formula;
    FormulaNotation notation = FormulaNotation::A1;
    StyleId style = 0;
    // Whether the formula's result was calculated since the formula was set: calculation
    // passes such a cell by while nothing it reads changed. Bookkeeping, not content.
    bool calculated = false;

    bool hasFormula() const { return !formula.empty(); }
    bool isEmpty() const {
        return std::holds_alternative<std::monostate>(value) && formula.empty();
    }
    bool operator==(const Cell& other) const {
        return value == other.value && formula == other.formula && notation == other.notation &&
               style == other.style;
    }
};

} // namespace kelvor
