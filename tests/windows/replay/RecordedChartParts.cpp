// The parts of a chart and of its selection: lines, fills, fonts, text runs, shapes.

#include "RecordedObjects.h"

namespace kelvor::test::replay {

namespace {

class RecordedBorder : public Recorded<xl::Border> {
public:
    using Recorded::Recorded;
    void setColorIndex(std::int16_t i) override {
        put("ColorIndex", i2(i), [&] { to().setColorIndex(i); });
    }
    void setWeight(std::int32_t w) override {
        put("Weight", i4(w), [&] { to().setWeight(w); });
    }
    void setLineStyle(std::int32_t s) override {
        put("LineStyle", i4(s), [&] { to().setLineStyle(s); });
    }
};

class RecordedInterior : public Recorded<xl::Interior> {
public:
    using Recorded::Recorded;
    void setColorIndex(std::int32_t i) override {
        put("ColorIndex", i4(i), [&] { to().setColorIndex(i); });
    }
};

class RecordedTextFont : public Recorded<xl::TextFont> {
public:
    using Recorded::Recorded;
    void setName(const std::string& s) override {
        put("Name", bstr(s), [&] { to().setName(s); });
    }
    void setFontStyle(const std::string& s) override {
        put("FontStyle", bstr(s), [&] { to().setFontStyle(s); });
    }
    // Sizes of chart text go as 16-bit integers.
    void setSize(double p) override {
        put("Size", i2(static_cast<std::int16_t>(p)), [&] { to().setSize(p); });
    }
    void setStrikethrough(bool b) override {
        put("Strikethrough", boolean(b), [&] { to().setStrikethrough(b); });
    }
    void setSuperscript(bool b) override {
        put("Superscript", boolean(b), [&] { to().setSuperscript(b); });
    }
    void setSubscript(bool b) override {
        put("Subscript", boolean(b), [&] { to().setSubscript(b); });
    }
    void setOutlineFont(bool b) override {
        put("OutlineFont", boolean(b), [&] { to().setOutlineFont(b); });
    }
    void setShadow(bool b) override {
        put("Shadow", boolean(b), [&] { to().setShadow(b); });
    }
    void setUnderline(std::int32_t s) override {
        put("Underline", i4(s), [&] { to().setUnderline(s); });
    }
    void setColorIndex(std::int32_t i) override {
        put("ColorIndex", i4(i), [&] { to().setColorIndex(i); });
    }
};

class RecordedCharacters : public Recorded<xl::Characters> {
public:
    using Recorded::Recorded;
    void setText(const std::string& s) override {
        put("Text", bstr(s), [&] { to().setText(s); });
    }
    std::shared_ptr<xl::TextFont> Font() override {
        return child(
            "get", "Font", "Font", [&] { return to().Font(); }, recordTextFont);
    }
};

class RecordedColorFormat : public Recorded<xl::ColorFormat> {
public:
    using Recorded::Recorded;
    void setSchemeColor(std::int16_t i) override {
        put("SchemeColor", i2(i), [&] { to().setSchemeColor(i); });
    }
    void setRGB(std::int32_t rgb) override {
        put("RGB", i4(rgb), [&] { to().setRGB(rgb); });
    }
};

std::shared_ptr<xl::ColorFormat> recordColor(std::shared_ptr<xl::ColorFormat> inner, Handle h) {
    return std::make_shared<RecordedColorFormat>(std::move(inner), std::move(h));
}

class RecordedFillFormat : public Recorded<xl::FillFormat> {
public:
    using Recorded::Recorded;
    void setVisible(std::int32_t v) override {
        put("Visible", i4(v), [&] { to().setVisible(v); });
    }
    void Solid() override {
        method("Solid", [&] { to().Solid(); });
    }
    std::shared_ptr<xl::ColorFormat> ForeColor() override {
        return child(
            "get", "ForeColor", "ColorFormat", [&] { return to().ForeColor(); }, recordColor);
    }
    void setTransparency(double t) override {
        put("Transparency", r8(t), [&] { to().setTransparency(t); });
    }
};

class RecordedLineFormat : public Recorded<xl::LineFormat> {
public:
    using Recorded::Recorded;
    // A line's weight is a single-precision number of points.
    void setWeight(double p) override {
        put("Weight", r4(static_cast<float>(p)), [&] { to().setWeight(p); });
    }
    void setDashStyle(std::int32_t s) override {
        put("DashStyle", i4(s), [&] { to().setDashStyle(s); });
    }
    void setStyle(std::int32_t s) override {
        put("Style", i4(s), [&] { to().setStyle(s); });
    }
    void setTransparency(double t) override {
        put("Transparency", r8(t), [&] { to().setTransparency(t); });
    }
    void setVisible(std::int32_t v) override {
        put("Visible", i4(v), [&] { to().setVisible(v); });
    }
    std::shared_ptr<xl::ColorFormat> ForeColor() override {
        return child(
            "get", "ForeColor", "ColorFormat", [&] { return to().ForeColor(); }, recordColor);
    }
    std::shared_ptr<xl::ColorFormat> BackColor() override {
        return child(
            "get", "BackColor", "ColorFormat", [&] { return to().BackColor(); }, recordColor);
    }
};

class RecordedShapeRange : public Recorded<xl::ShapeRange> {
public:
    using Recorded::Recorded;
    std::shared_ptr<xl::FillFormat> Fill() override {
        return child(
            "get", "Fill", "FillFormat", [&] { return to().Fill(); },
            [](std::shared_ptr<xl::FillFormat> inner, Handle h) {
                return std::make_shared<RecordedFillFormat>(std::move(inner), std::move(h));
            });
    }
    std::shared_ptr<xl::LineFormat> Line() override {
        return child(
            "get", "Line", "LineFormat", [&] { return to().Line(); },
            [](std::shared_ptr<xl::LineFormat> inner, Handle h) {
                return std::make_shared<RecordedLineFormat>(std::move(inner), std::move(h));
            });
    }
};

class RecordedChartElement : public Recorded<xl::ChartElement> {
public:
    using Recorded::Recorded;
    void Select() override {
        method("Select", [&] { to().Select(); });
    }
};

class RecordedChartTextElement : public Recorded<xl::ChartTextElement> {
public:
    using Recorded::Recorded;
    std::shared_ptr<xl::Characters> Characters() override {
        return child(
            "get", "Characters", "Characters", [&] { return to().Characters(); }, recordCharacters);
    }
    std::shared_ptr<xl::TextFont> Font() override {
        return child(
            "get", "Font", "Font", [&] { return to().Font(); }, recordTextFont);
    }
    void setCaption(const std::string& s) override {
        put("Caption", bstr(s), [&] { to().setCaption(s); });
    }
};

class RecordedChartSelection : public Recorded<xl::ChartSelection> {
public:
    using Recorded::Recorded;
    std::shared_ptr<xl::Border> Border() override {
        return child(
            "get", "Border", "Border", [&] { return to().Border(); }, recordBorder);
    }
    std::shared_ptr<xl::Interior> Interior() override {
        return child(
            "get", "Interior", "Interior", [&] { return to().Interior(); },
            [](std::shared_ptr<xl::Interior> inner, Handle h) {
                return std::make_shared<RecordedInterior>(std::move(inner), std::move(h));
            });
    }
    std::shared_ptr<xl::Characters> Characters(std::int16_t start) override {
        return child("call", "Characters", "Characters", [&] { return to().Characters(start); },
                     recordCharacters, {}, {{"Start", i2(start)}});
    }
    void setAutoScaleFont(bool b) override {
        put("AutoScaleFont", boolean(b), [&] { to().setAutoScaleFont(b); });
    }
    void setHorizontalAlignment(std::int32_t a) override {
        put("HorizontalAlignment", i4(a), [&] { to().setHorizontalAlignment(a); });
    }
    void setVerticalAlignment(std::int32_t a) override {
        put("VerticalAlignment", i4(a), [&] { to().setVerticalAlignment(a); });
    }
    void setOrientation(std::int32_t o) override {
        put("Orientation", i4(o), [&] { to().setOrientation(o); });
    }
    void setAutoSize(bool b) override {
        put("AutoSize", boolean(b), [&] { to().setAutoSize(b); });
    }
    void setLeft(double p) override {
        put("Left", r8(p), [&] { to().setLeft(p); });
    }
    std::shared_ptr<xl::ShapeRange> ShapeRange() override {
        return child(
            "get", "ShapeRange", "ShapeRange", [&] { return to().ShapeRange(); }, recordShapeRange);
    }
    void setPlacement(std::int32_t p) override {
        put("Placement", i4(p), [&] { to().setPlacement(p); });
    }
    void setPrintObject(bool b) override {
        put("PrintObject", boolean(b), [&] { to().setPrintObject(b); });
    }
};

} // namespace

std::shared_ptr<xl::ChartSelection> recordChartSelection(std::shared_ptr<xl::ChartSelection> inner,
                                                         Handle h) {
    return std::make_shared<RecordedChartSelection>(std::move(inner), std::move(h));
}
std::shared_ptr<xl::Border> recordBorder(std::shared_ptr<xl::Border> inner, Handle h) {
    return std::make_shared<RecordedBorder>(std::move(inner), std::move(h));
}
std::shared_ptr<xl::TextFont> recordTextFont(std::shared_ptr<xl::TextFont> inner, Handle h) {
    return std::make_shared<RecordedTextFont>(std::move(inner), std::move(h));
}
std::shared_ptr<xl::Characters> recordCharacters(std::shared_ptr<xl::Characters> inner, Handle h) {
    return std::make_shared<RecordedCharacters>(std::move(inner), std::move(h));
}
std::shared_ptr<xl::ChartElement> recordChartElement(std::shared_ptr<xl::ChartElement> inner,
                                                     Handle h) {
    return std::make_shared<RecordedChartElement>(std::move(inner), std::move(h));
}
std::shared_ptr<xl::ChartTextElement>
recordChartTextElement(std::shared_ptr<xl::ChartTextElement> inner, Handle h) {
    return std::make_shared<RecordedChartTextElement>(std::move(inner), std::move(h));
}
std::shared_ptr<xl::ShapeRange> recordShapeRange(std::shared_ptr<xl::ShapeRange> inner, Handle h) {
    return std::make_shared<RecordedShapeRange>(std::move(inner), std::move(h));
}

} // namespace kelvor::test::replay
