#include "host/app/calc/Formula.h"

#include "host/app/numformat/FieldValue.h"

#include <algorithm>
#include <cctype>
#include <charconv>

namespace kelvor {

namespace {

using Node = std::unique_ptr<const FormulaNode>;

bool isNameChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '.' ||
           static_cast<unsigned char>(c) >= 0x80;
}

class Parser {
public:
    explicit Parser(std::string_view text) : text_(text) {}

    Formula parse() {
        skipBlanks();
        if (!accept('=')) {
            fail("a formula begins with '='");
        }
        auto root = concatenation();
        skipBlanks();
        if (pos_ != text_.size()) {
            fail("unexpected text");
        }
        return Formula(std::move(root));
    }

private:
    [[noreturn]] void fail(const std::string& why) const {
        throw FormulaSyntaxError(why + " at position " + std::to_string(pos_ + 1));
    }

    void skipBlanks() {
        while (pos_ < text_.size() &&
               (text_[pos_] == ' ' || text_[pos_] == '\n' || text_[pos_] == '\r')) {
            ++pos_;
        }
    }

    bool accept(char c) {
        skipBlanks();
        if (pos_ < text_.size() && text_[pos_] == c) {
            ++pos_;
            return true;
        }
        return false;
    }

    char peek() {
        skipBlanks();
        return pos_ < text_.size() ? text_[pos_] : '\0';
    }

    static Node binary(char op, Node left, Node right) {
        auto node = std::make_unique<FormulaNode>();
        node->kind = FormulaNode::Kind::Binary;
        node->op = op;
        node->operands.push_back(std::move(left));
        node->operands.push_back(std::move(right));
        return node;
    }

    Node concatenation() {
        auto left = additive();
        while (accept('&')) {
            left = binary('&', std::move(left), additive());
        }
        return left;
    }

    Node additive() {
        auto left = multiplicative();
        for (char op = peek(); op == '+' || op == '-'; op = peek()) {
            ++pos_;
            left = binary(op, std::move(left), multiplicative());
        }
        return left;
    }

    Node multiplicative() {
        auto left = power();
        for (char op = peek(); op == '*' || op == '/'; op = peek()) {
            ++pos_;
            left = binary(op, std::move(left), power());
        }
        return left;
    }

    Node power() {
        auto left = unary();
        while (accept('^')) {
            left = binary('^', std::move(left), unary());
        }
        return left;
    }

    Node unary() {
        const char c = peek();
        if (c == '+' || c == '-') {
            ++pos_;
            auto operand = unary();
            if (c == '+') {
                return operand;
            }
            auto node = std::make_unique<FormulaNode>();
            node->kind = FormulaNode::Kind::Negate;
            node->operands.push_back(std::move(operand));
            return node;
        }
        return primary();
    }

    Node primary() {
        const char c = peek();
        auto node = std::make_unique<FormulaNode>();
        if (c == '(') {
            ++pos_;
            auto inner = concatenation();
            if (!accept(')')) {
                fail("')' expected");
            }
            return inner;
        }
        if (std::isdigit(static_cast<unsigned char>(c)) || c == '.') {
            node->number = number();
            return node;
        }
        if (c == '"') {
            node->kind = FormulaNode::Kind::Text;
            node->text = quoted('"');
            return node;
        }
        if (c == '\'') {
            const auto sheet = quoted('\'');
            if (!accept('!')) {
                fail("'!' expected after a sheet name");
            }
            return sheetReference(sheet);
        }
        if (auto ref = reference(std::nullopt)) {
            return ref;
        }
        const auto start = pos_;
        while (pos_ < text_.size() && isNameChar(text_[pos_])) {
            ++pos_;
        }
        std::string name(text_.substr(start, pos_ - start));
        if (!name.empty() && pos_ < text_.size() && text_[pos_] == '!') {
            ++pos_;
            return sheetReference(name);
        }
        if (name.empty()) {
            fail("a value expected");
        }
        for (auto& ch : name) {
            ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
        }
        if (accept('(')) {
            node->kind = FormulaNode::Kind::Call;
            node->text = name;
            if (!accept(')')) {
                do {
                    node->operands.push_back(concatenation());
                } while (accept(','));
                if (!accept(')')) {
                    fail("')' expected");
                }
            }
            return node;
        }
        if (name == "TRUE" || name == "FALSE") {
            node->kind = FormulaNode::Kind::Boolean;
            node->number = name == "TRUE" ? 1 : 0;
            return node;
        }
        node->kind = FormulaNode::Kind::Name;
        node->text = name;
        return node;
    }

    Node sheetReference(const std::string& sheet) {
        if (auto ref = reference(sheet)) {
            return ref;
        }
        fail("a reference must follow the sheet name");
    }

    double number() {
        const auto start = pos_;
        while (pos_ < text_.size() &&
               (std::isdigit(static_cast<unsigned char>(text_[pos_])) || text_[pos_] == '.')) {
            ++pos_;
        }
        if (pos_ < text_.size() && (text_[pos_] == 'E' || text_[pos_] == 'e')) {
            auto next = pos_ + 1;
            if (next < text_.size() && (text_[next] == '+' || text_[next] == '-')) {
                ++next;
            }
            if (next < text_.size() && std::isdigit(static_cast<unsigned char>(text_[next]))) {
                pos_ = next;
                while (pos_ < text_.size() &&
                       std::isdigit(static_cast<unsigned char>(text_[pos_]))) {
                    ++pos_;
                }
            }
        }
        const auto value = readNumber(text_.substr(start, pos_ - start));
        if (!value) {
            fail("malformed number");
        }
        return *value;
    }

    // Text between `quote` characters, a doubled one standing for itself.
    std::string quoted(char quote) {
        ++pos_;
        std::string out;
        while (true) {
            if (pos_ >= text_.size()) {
                fail("unterminated text");
            }
            if (text_[pos_] == quote) {
                if (pos_ + 1 < text_.size() && text_[pos_ + 1] == quote) {
                    out += quote;
                    pos_ += 2;
                    continue;
                }
                ++pos_;
                return out;
            }
            out += text_[pos_++];
        }
    }

    // An R1C1 reference at the current position, or nothing (position unchanged) when the
    // text there is no reference, such as a function name beginning with R or C.
    Node reference(const std::optional<std::string>& sheet) {
        skipBlanks();
        const auto start = pos_;
        R1C1Reference ref;
        ref.sheet = sheet;
        const bool hasRow = part('R', ref.rowRelative, ref.row);
        const bool hasColumn = part('C', ref.columnRelative, ref.column);
        if ((!hasRow && !hasColumn) ||
            (pos_ < text_.size() && (isNameChar(text_[pos_]) || text_[pos_] == '('))) {
            pos_ = start;
            return nullptr;
        }
        ref.wholeColumn = !hasRow;
        ref.wholeRow = !hasColumn;
        auto node = std::make_unique<FormulaNode>();
        node->kind = FormulaNode::Kind::Reference;
        node->reference = std::move(ref);
        return node;
    }

    // R, R5, R[-2] (or the same with C).
    bool part(char letter, bool& relative, std::int32_t& value) {
        if (pos_ >= text_.size() ||
            std::toupper(static_cast<unsigned char>(text_[pos_])) != letter) {
            return false;
        }
        ++pos_;
        relative = true;
        value = 0;
        if (pos_ < text_.size() && text_[pos_] == '[') {
            const auto close = text_.find(']', pos_);
            if (close == std::string_view::npos) {
                fail("']' expected");
            }
            const auto inside = text_.substr(pos_ + 1, close - pos_ - 1);
            const auto [end, error] =
                std::from_chars(inside.data() + (inside.starts_with('+') ? 1 : 0),
                                inside.data() + inside.size(), value);
            if (error != std::errc() || end != inside.data() + inside.size()) {
                fail("malformed offset");
            }
            pos_ = close + 1;
        } else if (pos_ < text_.size() && std::isdigit(static_cast<unsigned char>(text_[pos_]))) {
            const auto start = pos_;
            while (pos_ < text_.size() && std::isdigit(static_cast<unsigned char>(text_[pos_]))) {
                ++pos_;
            }
            const auto [end, error] =
                std::from_chars(text_.data() + start, text_.data() + pos_, value);
            if (error != std::errc() || value < 1) {
                fail("malformed row or column number");
            }
            relative = false;
        }
        return true;
    }

    std::string_view text_;
    std::size_t pos_ = 0;
};

} // namespace

Formula parseR1C1(std::string_view formula) {
    return Parser(formula).parse();
}

void collectSheetNames(const FormulaNode& node, std::vector<std::string>& names) {
    if (node.kind == FormulaNode::Kind::Reference) {
        const std::string name = node.reference.sheet.value_or("");
        if (std::find(names.begin(), names.end(), name) == names.end()) {
            names.push_back(name);
        }
    }
    for (const auto& operand : node.operands) {
        collectSheetNames(*operand, names);
    }
}

} // namespace kelvor
