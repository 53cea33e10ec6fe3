// Ranges, their fonts, and the page setup of a sheet or chart.

#include "RecordedObjects.h"

namespace kelvor::test::replay {

namespace {

class RecordedFont : public Recorded<xl::Font> {
public:
    using Recorded::Recorded;
    void setName(const std::string& s) override {
        put("Name", bstr(s), [&] { to().setName(s); });
    }
    void setFontStyle(const std::string& s) override {
        put("FontStyle", bstr(s), [&] { to().setFontStyle(s); });
    }
    void setSize(double points) override {
        put("Size", r8(points), [&] { to().setSize(points); });
    }
    void setBold(bool b) override {
        put("Bold", boolean(b), [&] { to().setBold(b); });
    }
};

class RecordedPageSetup : public Recorded<xl::PageSetup> {
public:
    using Recorded::Recorded;
    void setLeftMargin(double p) override {
        put("LeftMargin", r8(p), [&] { to().setLeftMargin(p); });
    }
    void setRightMargin(double p) override {
        put("RightMargin", r8(p), [&] { to().setRightMargin(p); });
    }
    // The top and bottom margins go as the 16-bit integers the layout gives.
    void setTopMargin(double p) override {
        put("TopMargin", i2(static_cast<std::int16_t>(p)), [&] { to().setTopMargin(p); });
    }
    void setBottomMargin(double p) override {
        put("BottomMargin", i2(static_cast<std::int16_t>(p)), [&] { to().setBottomMargin(p); });
    }
    void setCenterHeader(const std::string& s) override {
        put("CenterHeader", bstr(s), [&] { to().setCenterHeader(s); });
    }
    std::string LeftFooter() override {
        return get<std::string>(
            "LeftFooter", [&] { return to().LeftFooter(); },
            [](const std::string& s) { return bstr(s); });
    }
    void setLeftFooter(const std::string& s) override {
        put("LeftFooter", bstr(s), [&] { to().setLeftFooter(s); });
    }
    void setCenterFooter(const std::string& s) override {
        put("CenterFooter", bstr(s), [&] { to().setCenterFooter(s); });
    }
    void setRightFooter(const std::string& s) override {
        put("RightFooter", bstr(s), [&] { to().setRightFooter(s); });
    }
    void setPrintTitleRows(const std::string& s) override {
        put("PrintTitleRows", bstr(s), [&] { to().setPrintTitleRows(s); });
    }
};

// FieldInfo: one (column, format) pair as the array of its two numbers, several as an array
// of such arrays.
std::string fieldInfo(const std::vector<std::pair<std::int16_t, std::int16_t>>& columns) {
    if (columns.size() == 1) {
        return array({i2(columns[0].first), i2(columns[0].second)});
    }
    std::vector<std::string> pairs;
    for (const auto& [column, format] : columns) {
        pairs.push_back(array({i2(column), i2(format)}));
    }
    return array(pairs);
}

class RecordedRange : public Recorded<xl::Range> {
public:
    using Recorded::Recorded;
    void Select() override {
        method("Select", [&] { to().Select(); });
    }
    void Activate() override {
        method("Activate", [&] { to().Activate(); });
    }
    xl::Variant Value() override {
        return get<xl::Variant>(
            "Value", [&] { return to().Value(); }, cellValue);
    }
    void setValue(const xl::Variant& v) override {
        put("Value", cellValue(v), [&] { to().setValue(v); });
    }
    std::string Text() override {
        return get<std::string>(
            "Text", [&] { return to().Text(); }, [](const std::string& s) { return bstr(s); });
    }
    void setFormulaR1C1(const std::string& f) override {
        put("FormulaR1C1", bstr(f), [&] { to().setFormulaR1C1(f); });
    }
    void setNumberFormat(const std::string& f) override {
        put("NumberFormat", bstr(f), [&] { to().setNumberFormat(f); });
    }
    void setHorizontalAlignment(std::int32_t a) override {
        put("HorizontalAlignment", i4(a), [&] { to().setHorizontalAlignment(a); });
    }
    void setVerticalAlignment(std::int32_t a) override {
        put("VerticalAlignment", i4(a), [&] { to().setVerticalAlignment(a); });
    }
    void setWrapText(bool b) override {
        put("WrapText", boolean(b), [&] { to().setWrapText(b); });
    }
    void setOrientation(std::int16_t d) override {
        put("Orientation", i2(d), [&] { to().setOrientation(d); });
    }
    void setAddIndent(bool b) override {
        put("AddIndent", boolean(b), [&] { to().setAddIndent(b); });
    }
    void setShrinkToFit(bool b) override {
        put("ShrinkToFit", boolean(b), [&] { to().setShrinkToFit(b); });
    }
    void setMergeCells(bool b) override {
        put("MergeCells", boolean(b), [&] { to().setMergeCells(b); });
    }
    std::shared_ptr<xl::Font> Font() override {
        return child(
            "get", "Font", "Font", [&] { return to().Font(); },
            [](std::shared_ptr<xl::Font> inner, Handle h) {
                return std::make_shared<RecordedFont>(std::move(inner), std::move(h));
            });
    }
    xl::RangePtr Columns() override {
        return child(
            "get", "Columns", "Range", [&] { return to().Columns(); }, recordRange);
    }
    void AutoFit() override {
        method("AutoFit", [&] { to().AutoFit(); });
    }
    void TextToColumns(const xl::RangePtr& destination,
                       const xl::TextToColumnsOptions& o) override {
        method("TextToColumns", [&] { to().TextToColumns(innerOf(destination), o); }, {},
               {{"Destination", argumentOf(destination)},
                {"DataType", i4(o.dataType)},
                {"TextQualifier", i4(o.textQualifier)},
                {"ConsecutiveDelimiter", boolean(o.consecutiveDelimiter)},
                {"Tab", boolean(o.tab)},
                {"Semicolon", boolean(o.semicolon)},
                {"Comma", boolean(o.comma)},
                {"Space", boolean(o.space)},
                {"Other", boolean(o.other)},
                {"OtherChar", bstr(o.otherChar)},
                {"FieldInfo", fieldInfo(o.fieldInfo)}});
    }
    void FillDown() override {
        method("FillDown", [&] { to().FillDown(); });
    }
    // The copied range takes the clipboard's place of any text set for pasting.
    void Copy() override {
        log().pasteText.clear();
        method("Copy", [&] { to().Copy(); });
    }
    void PasteSpecial(std::int32_t paste, std::int32_t operation, bool skipBlanks,
                      bool transpose) override {
        method("PasteSpecial", [&] { to().PasteSpecial(paste, operation, skipBlanks, transpose); },
               {},
               {{"Paste", i4(paste)},
                {"Operation", i4(operation)},
                {"SkipBlanks", boolean(skipBlanks)},
                {"Transpose", boolean(transpose)}});
    }
    void Delete(std::int32_t shift) override {
        method("Delete", [&] { to().Delete(shift); }, {}, {{"Shift", i4(shift)}});
    }
};

} // namespace

std::shared_ptr<xl::Range> recordRange(std::shared_ptr<xl::Range> inner, Handle h) {
    return std::make_shared<RecordedRange>(std::move(inner), std::move(h));
}
std::shared_ptr<xl::PageSetup> recordPageSetup(std::shared_ptr<xl::PageSetup> inner, Handle h) {
    return std::make_shared<RecordedPageSetup>(std::move(inner), std::move(h));
}

} // namespace kelvor::test::replay
