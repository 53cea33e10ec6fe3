#pragma once

#include "export/SpreadsheetCharts.h"
#include "host/app/chartformat/ChartText.h"
#include "host/app/state/ApplicationState.h"

#include <functional>

namespace kelvor {

// Changes a text box of the chart sheet; a box that sizes itself to its text is fitted again
// afterwards. 1004 when the box is gone.
void editTextBox(const SheetRef& sheet, std::uint32_t index,
                 const std::function<void(TextBox&)>& change);

// The text of a text box, for Characters and Font.
class TextBoxText : public TextTarget {
public:
    TextBoxText(SheetRef sheet, std::uint32_t index);
    void edit(const std::function<void(TextRun&)>& change) override;
    void check() override;

private:
    SheetRef sheet_;
    std::uint32_t index_;
};

// A text box's fill and outline, as its ShapeRange offers them.
class BuiltinShapeRange : public xl::ShapeRange {
public:
    BuiltinShapeRange(SheetRef sheet, std::uint32_t index);
    std::shared_ptr<xl::FillFormat> Fill() override;
    std::shared_ptr<xl::LineFormat> Line() override;

private:
    SheetRef sheet_;
    std::uint32_t index_;
};

class BuiltinFillFormat : public xl::FillFormat {
public:
    BuiltinFillFormat(SheetRef sheet, std::uint32_t index);
    void setVisible(std::int32_t visible) override;
    // The fill is always a solid colour here; nothing else to switch.
    void Solid() override;
    std::shared_ptr<xl::ColorFormat> ForeColor() override;
    void setTransparency(double transparency) override;

private:
    SheetRef sheet_;
    std::uint32_t index_;
};

class BuiltinLineFormat : public xl::LineFormat {
public:
    BuiltinLineFormat(SheetRef sheet, std::uint32_t index);
    void setWeight(double points) override;
    void setDashStyle(std::int32_t style) override;
    void setStyle(std::int32_t style) override;
    void setTransparency(double transparency) override;
    void setVisible(std::int32_t visible) override;
    std::shared_ptr<xl::ColorFormat> ForeColor() override;
    // Only patterned lines show a back colour; the colour is checked and not kept.
    std::shared_ptr<xl::ColorFormat> BackColor() override;

private:
    SheetRef sheet_;
    std::uint32_t index_;
};

// The colour of a text box's fill or line, or a colour that is checked and not kept.
class BuiltinColorFormat : public xl::ColorFormat {
public:
    enum class Target { Fill, Line, Discarded };
    BuiltinColorFormat(SheetRef sheet, std::uint32_t index, Target target);
    void setSchemeColor(std::int16_t index) override;
    void setRGB(std::int32_t rgb) override;

private:
    SheetRef sheet_;
    std::uint32_t index_;
    Target target_;
};

} // namespace kelvor
