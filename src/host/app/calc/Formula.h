#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace kelvor {

// A cell reference in R1C1 notation: R5C2 absolute, R[-1]C[3] relative to the formula's
// cell, RC1 same row; a missing part (R2, C[1]) makes it a whole row or column.
struct R1C1Reference {
    std::optional<std::string> sheet;
    bool rowRelative = true;
    std::int32_t row = 0;
    bool columnRelative = true;
    std::int32_t column = 0;
    bool wholeRow = false;
    bool wholeColumn = false;
};

struct FormulaNode {
    enum class Kind { Number, Text, Boolean, Reference, Name, Call, Negate, Binary };
    Kind kind = Kind::Number;
    double number = 0;
    std::string text; // text constant, name, function name (upper case)
    char op = 0;      // + - * / ^ & for Binary
    R1C1Reference reference;
    std::vector<std::unique_ptr<const FormulaNode>> operands;
};

using Formula = std::shared_ptr<const FormulaNode>;

class FormulaSyntaxError : public std::invalid_argument {
public:
    using std::invalid_argument::invalid_argument;
};

// Parses a formula in R1C1 notation, with its leading '='. Numbers, text in double quotes,
// TRUE and FALSE, references (optionally with a sheet name, quoted with apostrophes when it
// needs them), function calls, names, parentheses, unary + and -, and the operators
// + - * / ^ &. Throws FormulaSyntaxError for anything else.
Formula parseR1C1(std::string_view formula);

// Adds to `names` each sheet name the formula's references give, once ("" for references
// to the formula's own sheet).
void collectSheetNames(const FormulaNode& node, std::vector<std::string>& names);

} // namespace kelvor
