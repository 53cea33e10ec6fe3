#pragma once

#include "host/model/FormulaText.h"
#include "host/model/SharedText.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

namespace kelvor {

// Error values a cell can hold, shown as #NULL!, #DIV/0!, #VALUE!, #REF!, #NAME?, #NUM!, #N/A.
enum class CellError { Null, Div0, Value, Ref, Name, Num, NA };

std::string_view errorText(CellError error);

// Empty, number, text (UTF-8), boolean or error, as cells are given and read.
using CellValue = std::variant<std::monostate, double, SharedText, bool, CellError>;

// The text of a text value, or null for any other.
inline const std::string* textOf(const CellValue& value) {
    const auto* text = std::get_if<SharedText>(&value);
    return text != nullptr ? &text->str() : nullptr;
}

enum class FormulaNotation : std::uint8_t { A1, R1C1 };

using StyleId = std::uint32_t;

// What kind of value a cell holds, in the order of CellValue's alternatives.
enum class CellKind : std::uint8_t { Empty, Number, Text, Boolean, Error };

// 16 bytes with the column a row keeps beside it: a report's sheet holds a thousand rows of
// numbers, and what a cell weighs, the workbook does. The value is one word: a number as its
// own bits, any other kind in the bits no number uses (a NaN is kept as the one quiet NaN).
// Style and flags share two bytes, so a workbook has at most kMaxStyle + 1 cell formats.
class Cell {
    // Declared first, so that the formula and the flags follow it and leave two bytes free.
    std::uint64_t bits_ = kEmptyBits;

public:
    static constexpr StyleId kMaxStyle = 0x3FFF;

    Cell() noexcept = default;
    // Throws std::out_of_range for a style above kMaxStyle.
    Cell(CellValue value, FormulaText formula = {}, StyleId style = 0, // NOLINT: a value is a cell
         FormulaNotation notation = FormulaNotation::A1);
    Cell(const Cell& other) noexcept;
    Cell(Cell&& other) noexcept;
    Cell& operator=(const Cell& other) noexcept;
    Cell& operator=(Cell&& other) noexcept;
    ~Cell() { dropText(); }

    // The plain value, or for a formula cell the result of its last calculation.
    CellValue value() const;
    void setValue(CellValue value) noexcept;
    CellKind kind() const;
    // The value when it is a number, a text, a boolean; read without making a CellValue.
    std::optional<double> number() const;
    const std::string* text() const;
    std::optional<bool> boolean() const;

    // Empty for a plain value; otherwise the formula exactly as entered, with its '='.
    FormulaText formula;

    StyleId style() const { return flags_ & kMaxStyle; }
    // Throws std::out_of_range for a style above kMaxStyle.
    void setStyle(StyleId style);
    FormulaNotation notation() const {
        return (flags_ & kR1C1) != 0 ? FormulaNotation::R1C1 : FormulaNotation::A1;
    }
    void setNotation(FormulaNotation notation) {
        setFlag(kR1C1, notation == FormulaNotation::R1C1);
    }
    // Whether the formula's result was calculated since the formula was set: calculation
    // passes such a cell by while nothing it reads changed. Bookkeeping, not content.
    bool calculated() const { return (flags_ & kCalculated) != 0; }
    void setCalculated(bool calculated) { setFlag(kCalculated, calculated); }

    bool hasFormula() const { return !formula.empty(); }
    bool isEmpty() const { return bits_ == kEmptyBits && formula.empty(); }
    // Equal values, formulas, notations and styles.
    bool operator==(const Cell& other) const;

private:
    bool sameValue(const Cell& other) const;

    // Words whose top 13 bits are all set are no number this cell keeps; bits 48 to 50 tell
    // the kind, the low 48 bits carry a text's handle, a boolean or an error.
    static constexpr std::uint64_t kTagged = 0xFFF8'0000'0000'0000ULL;
    static constexpr std::uint64_t kPayload = 0x0000'FFFF'FFFF'FFFFULL;
    static constexpr std::uint64_t tagOf(CellKind kind) {
        return kTagged | (static_cast<std::uint64_t>(kind) << 48);
    }
    static constexpr std::uint64_t kEmptyBits = kTagged; // the Empty kind's tag
    static constexpr std::uint16_t kR1C1 = 0x4000;
    static constexpr std::uint16_t kCalculated = 0x8000;

    static std::uint64_t encode(CellValue value) noexcept;
    bool isTagged() const { return (bits_ & kTagged) == kTagged; }
    void dropText() noexcept;
    void setFlag(std::uint16_t flag, bool on) {
        flags_ = static_cast<std::uint16_t>(on ? flags_ | flag : flags_ & ~flag);
    }

    std::uint16_t flags_ = 0; // style in the low 14 bits, then R1C1 and calculated
};

static_assert(sizeof(Cell) <= 16);

} // namespace kelvor
