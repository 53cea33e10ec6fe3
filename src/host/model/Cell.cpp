#include "host/model/Cell.h"

#include <bit>
#include <cmath>
#include <exception>
#include <limits>
#include <stdexcept>
#include <utility>

namespace kelvor {

std::string_view errorText(CellError error) {
    switch (error) {
    case CellError::Null:
        return "#NULL!";
    case CellError::Div0:
        return "#DIV/0!";
    case CellError::Value:
        return "#VALUE!";
    case CellError::Ref:
        return "#REF!";
    case CellError::Name:
        return "#NAME?";
    case CellError::Num:
        return "#NUM!";
    case CellError::NA:
        return "#N/A";
    }
    return "#VALUE!";
}

Cell::Cell(CellValue value, FormulaText formulaText, StyleId style, FormulaNotation notation)
    : bits_(encode(std::move(value))), formula(std::move(formulaText)) {
    setStyle(style);
    setNotation(notation);
}

Cell::Cell(const Cell& other) noexcept
    : bits_(other.bits_), formula(other.formula), flags_(other.flags_) {
    if (kind() == CellKind::Text) {
        SharedText::retain(bits_ & kPayload);
    }
}

Cell::Cell(Cell&& other) noexcept
    : bits_(std::exchange(other.bits_, kEmptyBits)), formula(std::move(other.formula)),
      flags_(other.flags_) {}

Cell& Cell::operator=(const Cell& other) noexcept {
    Cell copy(other);
    return *this = std::move(copy);
}

Cell& Cell::operator=(Cell&& other) noexcept {
    if (this != &other) {
        dropText();
        bits_ = std::exchange(other.bits_, kEmptyBits);
        formula = std::move(other.formula);
        flags_ = other.flags_;
    }
    return *this;
}

std::uint64_t Cell::encode(CellValue value) noexcept {
    switch (static_cast<CellKind>(value.index())) {
    case CellKind::Number: {
        const double number = std::get<double>(value);
        // Every NaN is the one quiet NaN, whose bits lie outside the tagged words.
        return std::isnan(number)
                   ? std::bit_cast<std::uint64_t>(std::numeric_limits<double>::quiet_NaN())
                   : std::bit_cast<std::uint64_t>(number);
    }
    case CellKind::Text: {
        const auto handle = std::get<SharedText>(value).release();
        // User-space addresses of the platforms built for have 47 bits.
        if ((handle & ~kPayload) != 0) {
            std::terminate();
        }
        return tagOf(CellKind::Text) | handle;
    }
    case CellKind::Boolean:
        return tagOf(CellKind::Boolean) | (std::get<bool>(value) ? 1U : 0U);
    case CellKind::Error:
        return tagOf(CellKind::Error) | static_cast<std::uint64_t>(std::get<CellError>(value));
    case CellKind::Empty:
        break;
    }
    return kEmptyBits;
}

void Cell::dropText() noexcept {
    if (kind() == CellKind::Text) {
        SharedText::drop(bits_ & kPayload);
    }
}

CellKind Cell::kind() const {
    return isTagged() ? static_cast<CellKind>((bits_ >> 48) & 7U) : CellKind::Number;
}

CellValue Cell::value() const {
    switch (kind()) {
    case CellKind::Number:
        return std::bit_cast<double>(bits_);
    case CellKind::Text:
        SharedText::retain(bits_ & kPayload);
        return SharedText::adopt(bits_ & kPayload);
    case CellKind::Boolean:
        return (bits_ & 1U) != 0;
    case CellKind::Error:
        return static_cast<CellError>(bits_ & 0xFFU);
    case CellKind::Empty:
        break;
    }
    return std::monostate{};
}

void Cell::setValue(CellValue value) noexcept {
    const auto bits = encode(std::move(value));
    dropText();
    bits_ = bits;
}

std::optional<double> Cell::number() const {
    if (isTagged()) {
        return std::nullopt;
    }
    return std::bit_cast<double>(bits_);
}

const std::string* Cell::text() const {
    return kind() == CellKind::Text ? &SharedText::textAt(bits_ & kPayload) : nullptr;
}

std::optional<bool> Cell::boolean() const {
    if (kind() != CellKind::Boolean) {
        return std::nullopt;
    }
    return (bits_ & 1U) != 0;
}

void Cell::setStyle(StyleId style) {
    if (style > kMaxStyle) {
        throw std::out_of_range("a workbook holds at most 16,384 cell formats");
    }
    flags_ = static_cast<std::uint16_t>((flags_ & ~kMaxStyle) | style);
}

bool Cell::sameValue(const Cell& other) const {
    if (bits_ == other.bits_) {
        return kind() != CellKind::Number || !std::isnan(std::bit_cast<double>(bits_));
    }
    const auto k = kind();
    if (k != other.kind()) {
        return false;
    }
    if (k == CellKind::Number) {
        return std::bit_cast<double>(bits_) == std::bit_cast<double>(other.bits_); // 0 and -0
    }
    return k == CellKind::Text && *text() == *other.text();
}

bool Cell::operator==(const Cell& other) const {
    return sameValue(other) && formula == other.formula && notation() == other.notation() &&
           style() == other.style();
}

} // namespace kelvor
