#include "host/app/Calculation.h"

#include "host/app/FieldValue.h"
#include "host/app/ValueFormat.h"
#include "host/model/CellAddress.h"
#include "host/model/Workbook.h"

#include <cmath>
#include <variant>

namespace kelvor::host {

namespace {

using Number = std::variant<double, CellError>;

constexpr int kMaxDepth = 400;

class Calculator {
public:
    Calculator(Workbook& book, FormulaCache& cache) : book_(book), cache_(cache) {}

    void run() {
        struct Position {
            Worksheet* sheet;
            std::uint32_t row;
            std::uint32_t column;
        };
        std::vector<Position> formulas;
        for (std::size_t i = 0; i < book_.sheetCount(); ++i) {
            if (auto* sheet = asWorksheet(book_.sheet(i))) {
                for (const auto& [row, cells] : sheet->rows()) {
                    for (const auto& [column, cell] : cells) {
                        if (cell.hasFormula() && cell.notation == FormulaNotation::R1C1) {
                            formulas.push_back({sheet, row, column});
                        }
                    }
                }
            }
        }
        for (const auto& f : formulas) {
            cellValue(*f.sheet, f.row, f.column);
        }
    }

private:
    static std::uint64_t key(const Worksheet& sheet, std::uint32_t row, std::uint32_t column) {
        return (static_cast<std::uint64_t>(sheet.id()) << 35) |
               (static_cast<std::uint64_t>(row) << 14) | column;
    }

    // The cell's value, calculating it first when it is a formula not yet done in this run.
    CellValue cellValue(Worksheet& sheet, std::uint32_t row, std::uint32_t column) {
        const Cell* cell = sheet.cell(row, column);
        if (cell == nullptr) {
            return {};
        }
        if (!cell->hasFormula() || cell->notation != FormulaNotation::R1C1) {
            return cell->value;
        }
        const auto k = key(sheet, row, column);
        const auto [state, fresh] = state_.try_emplace(k, State::Busy);
        if (!fresh) {
            return state->second == State::Done ? cell->value : CellValue(0.0); // circular
        }
        if (depth_ >= kMaxDepth) {
            state_.erase(k); // too deep a chain: the last result stands for now
            return cell->value;
        }
        ++depth_;
        CellValue result;
        try {
            result = evaluate(*cache_.get(cell->formula), sheet, row, column);
        } catch (const FormulaSyntaxError&) {
            result = CellError::Name;
        }
        --depth_;
        if (std::holds_alternative<std::monostate>(result)) {
            result = 0.0; // a formula showing an empty cell shows 0
        }
        if (const auto* n = std::get_if<double>(&result); n && !std::isfinite(*n)) {
            result = CellError::Num;
        }
        state_[k] = State::Done;
        if (sheet.cell(row, column)->value != result) {
            sheet.setCachedValue(row, column, result);
        }
        return result;
    }

    static Number toNumber(const CellValue& value) {
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
        const auto read = readGeneral(std::get<std::string>(value));
        if (const auto* n = std::get_if<double>(&read.value)) {
            return *n;
        }
        return CellError::Value;
    }

    static std::string toText(const CellValue& value) {
        if (const auto* t = std::get_if<std::string>(&value)) {
            return *t;
        }
        return displayText(value, "General");
    }

    CellValue reference(const R1C1Reference& ref, Worksheet& sheet, std::uint32_t row,
                        std::uint32_t column) {
        if (ref.wholeRow || ref.wholeColumn) {
            return CellError::Value; // a whole row or column is no single value
        }
        Worksheet* target = ref.sheet ? worksheetNamed(*ref.sheet) : &sheet;
        if (target == nullptr) {
            return CellError::Ref;
        }
        const std::int64_t r = ref.rowRelative ? std::int64_t{row} + ref.row : ref.row;
        const std::int64_t c = ref.columnRelative ? std::int64_t{column} + ref.column : ref.column;
        if (r < 1 || r > kMaxRows || c < 1 || c > kMaxColumns) {
            return CellError::Ref;
        }
        return cellValue(*target, static_cast<std::uint32_t>(r), static_cast<std::uint32_t>(c));
    }

    // Sheet names are looked up once per run: the cells of a filled range all name the same.
    Worksheet* worksheetNamed(const std::string& name) {
        const auto [slot, fresh] = sheetsByName_.try_emplace(name, nullptr);
        if (fresh) {
            const auto index = book_.indexOf(name);
            slot->second = index ? asWorksheet(book_.sheet(*index)) : nullptr;
        }
        return slot->second;
    }

    CellValue call(const FormulaNode& node, Worksheet& sheet, std::uint32_t row,
                   std::uint32_t column) {
        if (node.text != "TIMEVALUE") {
            return CellError::Name;
        }
        if (node.operands.size() != 1) {
            return CellError::Value;
        }
        const auto argument = evaluate(*node.operands[0], sheet, row, column);
        if (const auto* e = std::get_if<CellError>(&argument)) {
            return *e;
        }
        if (const auto* n = std::get_if<double>(&argument)) {
            return *n - std::floor(*n);
        }
        if (const auto* t = std::get_if<std::string>(&argument)) {
            if (const auto time = readTimeValue(*t)) {
                return *time;
            }
        }
        return CellError::Value;
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

    CellValue evaluate(const FormulaNode& node, Worksheet& sheet, std::uint32_t row,
                       std::uint32_t column) {
        switch (node.kind) {
        case FormulaNode::Kind::Number:
            return node.number;
        case FormulaNode::Kind::Text:
            return node.text;
        case FormulaNode::Kind::Boolean:
            return node.number != 0;
        case FormulaNode::Kind::Reference:
            return reference(node.reference, sheet, row, column);
        case FormulaNode::Kind::Name:
            return CellError::Name;
        case FormulaNode::Kind::Call:
            return call(node, sheet, row, column);
        case FormulaNode::Kind::Negate: {
            const auto n = toNumber(evaluate(*node.operands[0], sheet, row, column));
            if (const auto* e = std::get_if<CellError>(&n)) {
                return *e;
            }
            return -std::get<double>(n);
        }
        case FormulaNode::Kind::Binary: {
            const auto left = evaluate(*node.operands[0], sheet, row, column);
            const auto right = evaluate(*node.operands[1], sheet, row, column);
            return arithmetic(node.op, left, right);
        }
        }
        return CellError::Value;
    }

    enum class State { Busy, Done };

    Workbook& book_;
    FormulaCache& cache_;
    std::unordered_map<std::uint64_t, State> state_;
    std::unordered_map<std::string, Worksheet*> sheetsByName_;
    int depth_ = 0;
};

} // namespace

Formula FormulaCache::get(const std::string& text) {
    if (const auto found = parsed_.find(text); found != parsed_.end()) {
        return found->second;
    }
    auto formula = parseR1C1(text);
    parsed_.emplace(text, formula);
    return formula;
}

void calculateWorkbook(Workbook& book, FormulaCache& cache) {
    Calculator(book, cache).run();
}

} // namespace kelvor::host
