#pragma once

#include "export/SpreadsheetCharts.h"

#include <functional>
#include <memory>
#include <string>

namespace kelvor {

// The text of a title or text box and the font it is drawn in, as the model keeps them.
struct TextRun {
    std::string& text;
    std::string& fontName;
    double& fontSize;
    bool& bold;
};

// Where a Characters or Font handle writes: finds its text again at every call (failing when
// it is gone) and does what follows from a change, such as refitting a text box.
class TextTarget {
public:
    virtual ~TextTarget() = default;
    virtual void edit(const std::function<void(TextRun&)>& change) = 0;
    // Throws when the text is gone.
    virtual void check() = 0;
};

// The characters of a text from `start` (1-based) on.
class BuiltinCharacters : public xl::Characters {
public:
    BuiltinCharacters(std::shared_ptr<TextTarget> target, std::int32_t start);

    // Replaces the characters from the start on; those before it stay.
    void setText(const std::string& text) override;
    std::shared_ptr<xl::TextFont> Font() override;

private:
    std::shared_ptr<TextTarget> target_;
    std::int32_t start_;
};

// The font of a whole text: the model draws each title and text box in one font. Effects it
// does not draw (strikethrough, shadow, underline, colour other than automatic) are taken and
// left out, as a printer without them would.
class BuiltinTextFont : public xl::TextFont {
public:
    explicit BuiltinTextFont(std::shared_ptr<TextTarget> target);

    void setName(const std::string& name) override;
    void setFontStyle(const std::string& style) override;
    void setSize(double points) override;
    void setStrikethrough(bool on) override;
    void setSuperscript(bool on) override;
    void setSubscript(bool on) override;
    void setOutlineFont(bool on) override;
    void setShadow(bool on) override;
    void setUnderline(std::int32_t style) override;
    void setColorIndex(std::int32_t index) override;

private:
    std::shared_ptr<TextTarget> target_;
};

} // namespace kelvor
