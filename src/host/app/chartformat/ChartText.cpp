#include "host/app/chartformat/ChartText.h"

#include "export/XlConstants.h"
#include "host/app/errors/HostErrors.h"
#include "util/Utf8Text.h"

#include <cmath>

namespace kelvor {

namespace {

using xl::xlUnderlineStyleDouble;
using xl::xlUnderlineStyleDoubleAccounting;
using xl::xlUnderlineStyleSingle;
using xl::xlUnderlineStyleSingleAccounting;

xl::HostError fontError(const char* property) {
    return methodError(std::string("Unable to set the ") + property +
                       " property of the Font class");
}

// Byte offset of the code point `count` code points into the UTF-8 text (its end when the
// text is shorter).
std::size_t codePointOffset(const std::string& text, std::size_t count) {
    std::size_t i = 0;
    while (i < text.size() && count > 0) {
        ++i;
        while (i < text.size() && (static_cast<unsigned char>(text[i]) & 0xC0) == 0x80) {
            ++i;
        }
        --count;
    }
    return i;
}

} // namespace

BuiltinCharacters::BuiltinCharacters(std::shared_ptr<TextTarget> target, std::int32_t start)
    : target_(std::move(target)), start_(start) {}

void BuiltinCharacters::setText(const std::string& text) {
    if (start_ < 1) {
        throw methodError("Unable to set the Text property of the Characters class");
    }
    target_->edit([&](TextRun& run) {
        run.text.resize(codePointOffset(run.text, static_cast<std::size_t>(start_ - 1)));
        run.text += text;
    });
}

std::shared_ptr<xl::TextFont> BuiltinCharacters::Font() {
    target_->check();
    return std::make_shared<BuiltinTextFont>(target_);
}

BuiltinTextFont::BuiltinTextFont(std::shared_ptr<TextTarget> target) : target_(std::move(target)) {}

void BuiltinTextFont::setName(const std::string& name) {
    if (name.empty() || name.size() > 255) {
        throw fontError("Name");
    }
    target_->edit([&](TextRun& run) { run.fontName = name; });
}

void BuiltinTextFont::setFontStyle(const std::string& style) {
    const auto words = asciiLowercase(simplifiedWhiteSpace(style));
    if (words != "regular" && words != "bold" && words != "italic" && words != "bold italic") {
        throw fontError("FontStyle");
    }
    // Italic is drawn upright: no text the program writes asks for it.
    target_->edit([&](TextRun& run) { run.bold = words.starts_with("bold"); });
}

void BuiltinTextFont::setSize(double points) {
    if (!std::isfinite(points) || points < 1 || points > 409) {
        throw fontError("Size");
    }
    target_->edit([&](TextRun& run) { run.fontSize = points; });
}

void BuiltinTextFont::setStrikethrough(bool) {
    target_->check();
}

void BuiltinTextFont::setSuperscript(bool) {
    target_->check();
}

void BuiltinTextFont::setSubscript(bool) {
    target_->check();
}

void BuiltinTextFont::setOutlineFont(bool) {
    target_->check();
}

void BuiltinTextFont::setShadow(bool) {
    target_->check();
}

void BuiltinTextFont::setUnderline(std::int32_t style) {
    if (style != xl::xlUnderlineStyleNone && style != xlUnderlineStyleSingle &&
        style != xlUnderlineStyleDouble && style != xlUnderlineStyleSingleAccounting &&
        style != xlUnderlineStyleDoubleAccounting) {
        throw fontError("Underline");
    }
    target_->check();
}

void BuiltinTextFont::setColorIndex(std::int32_t index) {
    if (index != xl::xlAutomatic && index != xl::xlNone && (index < 1 || index > 56)) {
        throw fontError("ColorIndex");
    }
    target_->check();
}

} // namespace kelvor
