#include "host/xlsx/FormulaA1.h"

#include "host/model/CellAddress.h"

#include <cctype>
#include <optional>

namespace kelvor {

namespace {

bool isNameChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '_' || c == '.' || c == '\\';
}

struct Part {
    bool absolute = false;
    long long value = 0; // the absolute position, or the offset of a relative one
};

// After 'R' or 'C': nothing, digits, or a bracketed signed offset.
std::optional<Part> parsePart(std::string_view f, std::size_t& pos) {
    Part part;
    if (pos < f.size() && f[pos] == '[') {
        std::size_t p = pos + 1;
        bool negative = false;
        if (p < f.size() && (f[p] == '-' || f[p] == '+')) {
            negative = f[p] == '-';
            ++p;
        }
        const std::size_t digits = p;
        while (p < f.size() && std::isdigit(static_cast<unsigned char>(f[p])) != 0 &&
               p - digits < 8) {
            part.value = part.value * 10 + (f[p] - '0');
            ++p;
        }
        if (p == digits || p >= f.size() || f[p] != ']') {
            return std::nullopt;
        }
        part.value = negative ? -part.value : part.value;
        pos = p + 1;
        return part;
    }
    const std::size_t digits = pos;
    while (pos < f.size() && std::isdigit(static_cast<unsigned char>(f[pos])) != 0 &&
           pos - digits < 8) {
        part.value = part.value * 10 + (f[pos] - '0');
        ++pos;
    }
    part.absolute = pos > digits;
    return part;
}

// Appends the A1 form of one coordinate; false when it falls outside the sheet.
bool appendCoordinate(std::string& out, const Part& part, std::uint32_t base, std::uint32_t limit,
                      bool isColumn) {
    const long long position = part.absolute ? part.value : base + part.value;
    if (position < 1 || position > limit) {
        return false;
    }
    const std::string text =
        isColumn ? columnName(static_cast<std::uint32_t>(position)) : std::to_string(position);
    out += (part.absolute ? "$" : "") + text;
    return true;
}

// An R1C1 cell reference at pos; on success it is appended in A1 form and pos moves past it.
bool convertReference(std::string_view f, std::size_t& pos, std::uint32_t row, std::uint32_t column,
                      std::string& out) {
    std::size_t p = pos;
    if (p >= f.size() || (f[p] != 'R' && f[p] != 'r')) {
        return false;
    }
    ++p;
    const auto rowPart = parsePart(f, p);
    if (!rowPart || p >= f.size() || (f[p] != 'C' && f[p] != 'c')) {
        return false;
    }
    ++p;
    const auto columnPart = parsePart(f, p);
    if (!columnPart || (p < f.size() && (isNameChar(f[p]) || f[p] == '(' || f[p] == '!'))) {
        return false; // a function or sheet name that merely starts like a reference
    }
    std::string reference;
    if (appendCoordinate(reference, *columnPart, column, kMaxColumns, true) &&
        appendCoordinate(reference, *rowPart, row, kMaxRows, false)) {
        out += reference;
    } else {
        out += "#REF!";
    }
    pos = p;
    return true;
}

// Copies a quoted run ("text" or 'sheet name', the quote doubled inside) unchanged.
void copyQuoted(std::string_view f, std::size_t& pos, std::string& out) {
    const char quote = f[pos];
    out += f[pos++];
    while (pos < f.size()) {
        out += f[pos];
        if (f[pos++] == quote) {
            if (pos < f.size() && f[pos] == quote) {
                out += f[pos++];
            } else {
                return;
            }
        }
    }
}

} // namespace

std::string r1c1ToA1(std::string_view formula, std::uint32_t row, std::uint32_t column) {
    std::string out;
    out.reserve(formula.size() + 8);
    std::size_t pos = 0;
    while (pos < formula.size()) {
        const char c = formula[pos];
        if (c == '"' || c == '\'') {
            copyQuoted(formula, pos, out);
        } else if (isNameChar(c)) {
            if (!convertReference(formula, pos, row, column, out)) {
                // A name, number or function: copied whole so that no reference is seen
                // inside it.
                while (pos < formula.size() && isNameChar(formula[pos])) {
                    out += formula[pos++];
                }
            }
        } else {
            out += formula[pos++];
        }
    }
    return out;
}

} // namespace kelvor
