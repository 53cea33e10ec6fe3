#pragma once

#include "host/model/FormulaText.h"
#include "host/model/SharedText.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

namespace kelvor {

// Error values a cell can hold, shown as #NULL!, #DIV/0!, #VALUE!, #REF!, #NAME?, #NUM!, #N/A.
enum class CellError { Null, Div0, Value, Ref, Name, Num, NA };

std::string_view errorText(CellError error);

// Empty, number, text (UTF-8), boolean or error; 16 bytes, so that a sheet of numbers costs
// what its numbers do.
using CellValue = std::variant<std::monostate, double, SharedText, bool, CellError>;

// The text of a text value, or null for any other.
inline const std::string* textOf(const CellValue& value) {
    const auto* text = std::get_if<SharedText>(&value);
    return text != nullptr ? &text->str() : nullptr;
}

enum class FormulaNotation : std::uint8_t { A1, R1C1 };

using StyleId = std::uint32_t;

// 24 bytes: the formula handle, style and flags lie in the value's spare bytes.
struct Cell {
    // The plain value, or for a formula cell the result of its last calculation.
    [[no_unique_address]] CellValue value;
    // Empty for a plain value; otherwise the formula exactly as entered, with its '='.
    FormulaText formula;
    StyleId style = 0;
    FormulaNotation notation = FormulaNotation::A1;
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

// A report's sheet holds a thousand rows of numbers; what a cell weighs, the workbook does.
static_assert(sizeof(CellValue) <= 16 && sizeof(Cell) <= 24);

} // namespace kelvor
