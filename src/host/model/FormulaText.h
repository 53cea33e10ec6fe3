#pragma once

#include "host/model/SharedText.h"

#include <ostream>
#include <string>
#include <string_view>

namespace kelvor {

// A formula's text as entered, with its '='; empty for no formula. The cells of a filled
// range share one text: copying is cheap, and two copies of one text compare without
// reading it.
class FormulaText {
public:
    FormulaText() = default;
    FormulaText(std::string text) // NOLINT(google-explicit-constructor): a text is a formula
        : text_(std::move(text)) {}
    FormulaText(const char* text) : FormulaText(std::string(text)) {} // NOLINT

    const std::string& str() const { return text_.str(); }
    operator const std::string&() const { return str(); } // NOLINT
    bool empty() const { return text_.empty(); }
    void clear() { text_.clear(); }
    // The very same text object: a copy of this one.
    bool sharedWith(const FormulaText& other) const { return text_.sharedWith(other.text_); }

    friend bool operator==(const FormulaText& a, const FormulaText& b) {
        return a.text_ == b.text_;
    }
    friend bool operator==(const FormulaText& a, std::string_view b) { return a.str() == b; }
    friend bool operator==(const FormulaText& a, const char* b) { return a.str() == b; }
    friend std::ostream& operator<<(std::ostream& out, const FormulaText& text) {
        return out << text.str();
    }

private:
    SharedText text_;
};

} // namespace kelvor
