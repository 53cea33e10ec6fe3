#include "host/app/calc/FormulaValues.h"

#include "host/app/numformat/FieldValue.h"
#include "host/app/numformat/ValueFormat.h"

#include <cmath>

namespace kelvor {

Number toNumber(const CellValue& value) {
    if (std::holds_alternative<std::monostate>(value)) {
        return 0.0;
    }
    if (const auto* n = std::get_if<double>(&value)) {
        return *n;
    }
    if (const auto* b = std::get_if<bool>(&value)) {
        return *b ? 1.0 : 0.0;
    }
    if (const auto* e = std::get_if<CellError>(&value)) {
        return *e;
    }
    const auto read = readGeneral(std::get<SharedText>(value).str());
    if (const auto* n = std::get_if<double>(&read.value)) {
        return *n;
    }
    return CellError::Value;
}

std::string toText(const CellValue& value) {
    if (const auto* t = textOf(value)) {
        return *t;
    }
    return displayText(value, "General");
}

CellValue arithmetic(char op, const CellValue& left, const CellValue& right) {
    if (op == '&') {
        if (const auto* e = std::get_if<CellError>(&left)) {
            return *e;
        }
        if (const auto* e = std::get_if<CellError>(&right)) {
            return *e;
        }
        return toText(left) + toText(right);
    }
    const auto a = toNumber(left);
    if (const auto* e = std::get_if<CellError>(&a)) {
        return *e;
    }
    const auto b = toNumber(right);
    if (const auto* e = std::get_if<CellError>(&b)) {
        return *e;
    }
    const double x = std::get<double>(a);
    const double y = std::get<double>(b);
    switch (op) {
    case '+':
        return x + y;
    case '-':
        return x - y;
    case '*':
        return x * y;
    case '/':
        return y == 0 ? CellValue(CellError::Div0) : CellValue(x / y);
    default:
        return std::pow(x, y);
    }
}

CellValue negate(const CellValue& value) {
    const auto n = toNumber(value);
    if (const auto* e = std::get_if<CellError>(&n)) {
        return *e;
    }
    return -std::get<double>(n);
}

CellValue timeValue(const CellValue& argument) {
    if (const auto* e = std::get_if<CellError>(&argument)) {
        return *e;
    }
    if (const auto* n = std::get_if<double>(&argument)) {
        return *n - std::floor(*n);
    }
    if (const auto* t = textOf(argument)) {
        if (const auto time = readTimeValue(*t)) {
            return *time;
        }
    }
    return CellError::Value;
}

} // namespace kelvor
