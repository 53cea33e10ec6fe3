#pragma once

#include "host/model/Cell.h"

#include <compare>
#include <map>
#include <string>
#include <vector>

namespace kelvor {

enum class HorizontalAlignment { General, Left, Center, Right };

struct Font {
    std::string name = "Arial";
    double size = 10.0; // points
    bool bold = false;
    auto operator<=>(const Font&) const = default;
};

struct Style {
    std::string numberFormat = "General";
    HorizontalAlignment horizontal = HorizontalAlignment::General;
    bool wrapText = false;
    Font font;
    auto operator<=>(const Style&) const = default;
};

// The cell formats of one workbook. Id 0 is the default format. Ids are handed out in order
// and never change or disappear, so a cell's style id stays valid for the workbook's life.
class Styles {
public:
    Styles();

    // The id of an equal style, adding it when it is new. Throws std::invalid_argument for a
    // font size outside 1 to 409 points, std::length_error past Cell::kMaxStyle.
    StyleId intern(const Style& style);

    // Throws std::out_of_range for an id never handed out.
    const Style& style(StyleId id) const;

    std::size_t size() const { return styles_.size(); }

private:
    std::vector<Style> styles_;
    std::map<Style, StyleId> ids_;
};

} // namespace kelvor
