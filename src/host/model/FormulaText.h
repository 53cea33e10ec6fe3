#pragma once

#include "host/model/FormulaTexts.h"

#include <cstdint>
#include <ostream>
#include <string>
#include <string_view>
#include <utility>

namespace kelvor {

// A formula's text as entered, with its '='; empty for no formula. The cells of a filled
// range share one text: copying is cheap, and two copies of one text compare without
// reading it. Four bytes, a number in the process's table of formula texts.
class FormulaText {
public:
    FormulaText() noexcept = default;
    FormulaText(std::string text) // NOLINT(google-explicit-constructor): a text is a formula
        : id_(text.empty() ? 0 : FormulaTexts::instance().add(std::move(text))) {}
    FormulaText(const char* text) : FormulaText(std::string(text)) {} // NOLINT

    FormulaText(const FormulaText& other) noexcept : id_(other.id_) {
        if (id_ != 0) {
            FormulaTexts::instance().hold(id_);
        }
    }
    FormulaText(FormulaText&& other) noexcept : id_(std::exchange(other.id_, 0)) {}
    FormulaText& operator=(const FormulaText& other) noexcept {
        FormulaText copy(other);
        std::swap(id_, copy.id_);
        return *this;
    }
    FormulaText& operator=(FormulaText&& other) noexcept {
        if (this != &other) {
            clear();
            std::swap(id_, other.id_);
        }
        return *this;
    }
    ~FormulaText() { clear(); }

    const std::string& str() const {
        return id_ != 0 ? FormulaTexts::instance().text(id_) : empty_;
    }
    operator const std::string&() const { return str(); } // NOLINT
    bool empty() const { return id_ == 0; }
    void clear() noexcept {
        if (id_ != 0) {
            FormulaTexts::instance().release(std::exchange(id_, 0));
        }
    }
    // The very same text object: a copy of this one.
    bool sharedWith(const FormulaText& other) const { return id_ == other.id_; }
    // Its number in the table, the same for every copy (0 for none): a key for lookups.
    FormulaTexts::Id number() const { return id_; }

    friend bool operator==(const FormulaText& a, const FormulaText& b) {
        return a.id_ == b.id_ || a.str() == b.str();
    }
    friend bool operator==(const FormulaText& a, std::string_view b) { return a.str() == b; }
    friend bool operator==(const FormulaText& a, const char* b) { return a.str() == b; }
    friend std::ostream& operator<<(std::ostream& out, const FormulaText& text) {
        return out << text.str();
    }

private:
    static inline const std::string empty_;
    FormulaTexts::Id id_ = 0;
};

} // namespace kelvor
