// The parts of a chart and of its selection: lines, fills, fonts, text runs, shapes.

#include "host/excel/ComValues.h"
#include "host/excel/ExcelObjects.h"

namespace kelvor::com {

namespace {

class ExcelBorder : public xl::Border, public ExcelHandle {
public:
    using ExcelHandle::ExcelHandle;
    void setColorIndex(std::int16_t index) override { object().put(L"ColorIndex", i2(index)); }
    void setWeight(std::int32_t weight) override { object().put(L"Weight", i4(weight)); }
    void setLineStyle(std::int32_t style) override { object().put(L"LineStyle", i4(style)); }
};

class ExcelInterior : public xl::Interior, public ExcelHandle {
public:
    using ExcelHandle::ExcelHandle;
    void setColorIndex(std::int32_t index) override { object().put(L"ColorIndex", i4(index)); }
};

class ExcelTextFont : public xl::TextFont, public ExcelHandle {
public:
    using ExcelHandle::ExcelHandle;
    void setName(const std::string& name) override { object().put(L"Name", text(name)); }
    void setFontStyle(const std::string& s) override { object().put(L"FontStyle", text(s)); }
    // Chart text sizes are whole points, given as 16-bit integers.
    void setSize(double points) override { object().put(L"Size", wholePoints(points)); }
    void setStrikethrough(bool on) override { object().put(L"Strikethrough", boolean(on)); }
    void setSuperscript(bool on) override { object().put(L"Superscript", boolean(on)); }
    void setSubscript(bool on) override { object().put(L"Subscript", boolean(on)); }
    void setOutlineFont(bool on) override { object().put(L"OutlineFont", boolean(on)); }
    void setShadow(bool on) override { object().put(L"Shadow", boolean(on)); }
    void setUnderline(std::int32_t style) override { object().put(L"Underline", i4(style)); }
    void setColorIndex(std::int32_t index) override { object().put(L"ColorIndex", i4(index)); }
};

class ExcelCharacters : public xl::Characters, public ExcelHandle {
public:
    using ExcelHandle::ExcelHandle;
    void setText(const std::string& s) override { object().put(L"Text", text(s)); }
    std::shared_ptr<xl::TextFont> Font() override {
        return makeTextFont(object().child(L"Font", L"Font"));
    }
};

class ExcelColorFormat : public xl::ColorFormat, public ExcelHandle {
public:
    using ExcelHandle::ExcelHandle;
    void setSchemeColor(std::int16_t index) override { object().put(L"SchemeColor", i2(index)); }
    void setRGB(std::int32_t rgb) override { object().put(L"RGB", i4(rgb)); }
};

std::shared_ptr<xl::ColorFormat> colorOf(const ComObject& format, const wchar_t* member) {
    return std::make_shared<ExcelColorFormat>(format.child(member, L"ColorFormat"));
}

class ExcelFillFormat : public xl::FillFormat, public ExcelHandle {
public:
    using ExcelHandle::ExcelHandle;
    void setVisible(std::int32_t visible) override { object().put(L"Visible", i4(visible)); }
    void Solid() override { object().call(L"Solid"); }
    std::shared_ptr<xl::ColorFormat> ForeColor() override {
        return colorOf(object(), L"ForeColor");
    }
    void setTransparency(double t) override { object().put(L"Transparency", r8(t)); }
};

class ExcelLineFormat : public xl::LineFormat, public ExcelHandle {
public:
    using ExcelHandle::ExcelHandle;
    void setWeight(double points) override {
        object().put(L"Weight", r4(static_cast<float>(points)));
    }
    void setDashStyle(std::int32_t style) override { object().put(L"DashStyle", i4(style)); }
    void setStyle(std::int32_t style) override { object().put(L"Style", i4(style)); }
    void setTransparency(double t) override { object().put(L"Transparency", r8(t)); }
    void setVisible(std::int32_t visible) override { object().put(L"Visible", i4(visible)); }
    std::shared_ptr<xl::ColorFormat> ForeColor() override {
        return colorOf(object(), L"ForeColor");
    }
    std::shared_ptr<xl::ColorFormat> BackColor() override {
        return colorOf(object(), L"BackColor");
    }
};

class ExcelShapeRange : public xl::ShapeRange, public ExcelHandle {
public:
    using ExcelHandle::ExcelHandle;
    std::shared_ptr<xl::FillFormat> Fill() override {
        return std::make_shared<ExcelFillFormat>(object().child(L"Fill", L"FillFormat"));
    }
    std::shared_ptr<xl::LineFormat> Line() override {
        return std::make_shared<ExcelLineFormat>(object().child(L"Line", L"LineFormat"));
    }
};

class ExcelChartElement : public xl::ChartElement, public ExcelHandle {
public:
    using ExcelHandle::ExcelHandle;
    void Select() override { object().call(L"Select"); }
};

class ExcelChartTextElement : public xl::ChartTextElement, public ExcelHandle {
public:
    using ExcelHandle::ExcelHandle;
    std::shared_ptr<xl::Characters> Characters() override {
        return makeCharacters(object().child(L"Characters", L"Characters"));
    }
    std::shared_ptr<xl::TextFont> Font() override {
        return makeTextFont(object().child(L"Font", L"Font"));
    }
    void setCaption(const std::string& s) override { object().put(L"Caption", text(s)); }
};

class ExcelChartSelection : public xl::ChartSelection, public ExcelHandle {
public:
    using ExcelHandle::ExcelHandle;
    std::shared_ptr<xl::Border> Border() override {
        return makeBorder(object().child(L"Border", L"Border"));
    }
    std::shared_ptr<xl::Interior> Interior() override {
        return std::make_shared<ExcelInterior>(object().child(L"Interior", L"Interior"));
    }
    std::shared_ptr<xl::Characters> Characters(std::int16_t start) override {
        std::vector<NamedArg> named;
        named.push_back({L"Start", i2(start)});
        return makeCharacters(object().child(L"Characters", L"Characters", {}, std::move(named)));
    }
    void setAutoScaleFont(bool on) override { object().put(L"AutoScaleFont", boolean(on)); }
    void setHorizontalAlignment(std::int32_t a) override {
        object().put(L"HorizontalAlignment", i4(a));
    }
    void setVerticalAlignment(std::int32_t a) override {
        object().put(L"VerticalAlignment", i4(a));
    }
    void setOrientation(std::int32_t o) override { object().put(L"Orientation", i4(o)); }
    void setAutoSize(bool on) override { object().put(L"AutoSize", boolean(on)); }
    void setLeft(double points) override { object().put(L"Left", r8(points)); }
    std::shared_ptr<xl::ShapeRange> ShapeRange() override {
        return makeShapeRange(object().child(L"ShapeRange", L"ShapeRange"));
    }
    void setPlacement(std::int32_t placement) override {
        object().put(L"Placement", i4(placement));
    }
    void setPrintObject(bool on) override { object().put(L"PrintObject", boolean(on)); }
};

} // namespace

std::shared_ptr<xl::ChartSelection> makeChartSelection(ComObject o) {
    return std::make_shared<ExcelChartSelection>(std::move(o));
}
std::shared_ptr<xl::TextFont> makeTextFont(ComObject o) {
    return std::make_shared<ExcelTextFont>(std::move(o));
}
std::shared_ptr<xl::Border> makeBorder(ComObject o) {
    return std::make_shared<ExcelBorder>(std::move(o));
}
std::shared_ptr<xl::Characters> makeCharacters(ComObject o) {
    return std::make_shared<ExcelCharacters>(std::move(o));
}
std::shared_ptr<xl::ShapeRange> makeShapeRange(ComObject o) {
    return std::make_shared<ExcelShapeRange>(std::move(o));
}
std::shared_ptr<xl::ChartElement> makeChartElement(ComObject o) {
    return std::make_shared<ExcelChartElement>(std::move(o));
}
std::shared_ptr<xl::ChartTextElement> makeChartTextElement(ComObject o) {
    return std::make_shared<ExcelChartTextElement>(std::move(o));
}

} // namespace kelvor::com
