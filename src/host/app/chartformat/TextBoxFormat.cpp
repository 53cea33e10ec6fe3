#include "host/app/chartformat/TextBoxFormat.h"

#include "export/XlConstants.h"
#include "host/app/chartformat/ChartAccess.h"
#include "host/app/errors/HostErrors.h"
#include "host/app/fit/TextBoxFit.h"

#include <cmath>

namespace kelvor {

namespace {

using xl::msoCTrue;
using xl::msoLineLongDashDot;
using xl::msoLineThickBetweenThin;

xl::HostError outOfRange() {
    return hostError(-2147024809, "The specified value is out of range.");
}

bool msoBool(std::int32_t value) {
    if (value != xl::msoTrue && value != msoCTrue && value != xl::msoFalse) {
        throw outOfRange();
    }
    return value != xl::msoFalse;
}

double transparency(double value) {
    if (!std::isfinite(value) || value < 0 || value > 1) {
        throw outOfRange();
    }
    return value;
}

void checkTextBox(const SheetRef& sheet, std::uint32_t index) {
    if (index >= chartSheetOf(sheet).chart().textBoxes.size()) {
        throw objectError();
    }
}

} // namespace

void editTextBox(const SheetRef& sheet, std::uint32_t index,
                 const std::function<void(TextBox&)>& change) {
    checkTextBox(sheet, index);
    editChart(sheet, [&](Chart& chart) {
        auto& box = textBoxAt(chart, index);
        change(box);
        if (box.autoSize) {
            fitTextBox(box);
        }
    });
}

TextBoxText::TextBoxText(SheetRef sheet, std::uint32_t index)
    : sheet_(std::move(sheet)), index_(index) {}

void TextBoxText::edit(const std::function<void(TextRun&)>& change) {
    editTextBox(sheet_, index_, [&](TextBox& box) {
        TextRun run{box.text, box.fontName, box.fontSize, box.bold};
        change(run);
    });
}

void TextBoxText::check() {
    checkTextBox(sheet_, index_);
}

BuiltinShapeRange::BuiltinShapeRange(SheetRef sheet, std::uint32_t index)
    : sheet_(std::move(sheet)), index_(index) {}

std::shared_ptr<xl::FillFormat> BuiltinShapeRange::Fill() {
    checkTextBox(sheet_, index_);
    return std::make_shared<BuiltinFillFormat>(sheet_, index_);
}

std::shared_ptr<xl::LineFormat> BuiltinShapeRange::Line() {
    checkTextBox(sheet_, index_);
    return std::make_shared<BuiltinLineFormat>(sheet_, index_);
}

BuiltinFillFormat::BuiltinFillFormat(SheetRef sheet, std::uint32_t index)
    : sheet_(std::move(sheet)), index_(index) {}

void BuiltinFillFormat::setVisible(std::int32_t visible) {
    const bool on = msoBool(visible);
    editTextBox(sheet_, index_, [&](TextBox& box) { box.fillVisible = on; });
}

void BuiltinFillFormat::Solid() {
    checkTextBox(sheet_, index_);
}

std::shared_ptr<xl::ColorFormat> BuiltinFillFormat::ForeColor() {
    checkTextBox(sheet_, index_);
    return std::make_shared<BuiltinColorFormat>(sheet_, index_, BuiltinColorFormat::Target::Fill);
}

void BuiltinFillFormat::setTransparency(double value) {
    const double t = transparency(value);
    editTextBox(sheet_, index_, [&](TextBox& box) { box.fillTransparency = t; });
}

BuiltinLineFormat::BuiltinLineFormat(SheetRef sheet, std::uint32_t index)
    : sheet_(std::move(sheet)), index_(index) {}

void BuiltinLineFormat::setWeight(double points) {
    if (!std::isfinite(points) || points < 0 || points > 1584) {
        throw outOfRange();
    }
    editTextBox(sheet_, index_, [&](TextBox& box) { box.lineWeight = points; });
}

void BuiltinLineFormat::setDashStyle(std::int32_t style) {
    if (style < xl::msoLineSolid || style > msoLineLongDashDot) {
        throw outOfRange();
    }
    editTextBox(sheet_, index_, [&](TextBox& box) { box.lineDashStyle = style; });
}

void BuiltinLineFormat::setStyle(std::int32_t style) {
    if (style < xl::msoLineSingle || style > msoLineThickBetweenThin) {
        throw outOfRange();
    }
    editTextBox(sheet_, index_, [&](TextBox& box) { box.lineStyle = style; });
}

void BuiltinLineFormat::setTransparency(double value) {
    const double t = transparency(value);
    editTextBox(sheet_, index_, [&](TextBox& box) { box.lineTransparency = t; });
}

void BuiltinLineFormat::setVisible(std::int32_t visible) {
    const bool on = msoBool(visible);
    editTextBox(sheet_, index_, [&](TextBox& box) { box.lineVisible = on; });
}

std::shared_ptr<xl::ColorFormat> BuiltinLineFormat::ForeColor() {
    checkTextBox(sheet_, index_);
    return std::make_shared<BuiltinColorFormat>(sheet_, index_, BuiltinColorFormat::Target::Line);
}

std::shared_ptr<xl::ColorFormat> BuiltinLineFormat::BackColor() {
    checkTextBox(sheet_, index_);
    return std::make_shared<BuiltinColorFormat>(sheet_, index_,
                                                BuiltinColorFormat::Target::Discarded);
}

BuiltinColorFormat::BuiltinColorFormat(SheetRef sheet, std::uint32_t index, Target target)
    : sheet_(std::move(sheet)), index_(index), target_(target) {}

void BuiltinColorFormat::setSchemeColor(std::int16_t scheme) {
    if (scheme < 0 || scheme > 80) {
        throw outOfRange();
    }
    if (target_ == Target::Discarded) {
        checkTextBox(sheet_, index_);
        return;
    }
    editTextBox(sheet_, index_, [&](TextBox& box) {
        (target_ == Target::Fill ? box.fillSchemeColor : box.lineSchemeColor) = scheme;
        (target_ == Target::Fill ? box.fillRgb : box.lineRgb) = -1;
    });
}

void BuiltinColorFormat::setRGB(std::int32_t rgb) {
    if (rgb < 0 || rgb > 0xFFFFFF) {
        throw outOfRange();
    }
    if (target_ == Target::Discarded) {
        checkTextBox(sheet_, index_);
        return;
    }
    editTextBox(sheet_, index_,
                [&](TextBox& box) { (target_ == Target::Fill ? box.fillRgb : box.lineRgb) = rgb; });
}

} // namespace kelvor
