// Fonts, page setup and ranges of the application's worksheets.

#include "host/excel/ComValues.h"
#include "host/excel/ExcelObjects.h"

namespace kelvor::com {

namespace {

class ExcelFont : public xl::Font, public ExcelHandle {
public:
    using ExcelHandle::ExcelHandle;
    void setName(const std::string& name) override { object().put(L"Name", text(name)); }
    void setFontStyle(const std::string& style) override {
        object().put(L"FontStyle", text(style));
    }
    void setSize(double points) override { object().put(L"Size", r8(points)); }
    void setBold(bool bold) override { object().put(L"Bold", boolean(bold)); }
};

class ExcelPageSetup : public xl::PageSetup, public ExcelHandle {
public:
    using ExcelHandle::ExcelHandle;
    void setLeftMargin(double points) override { object().put(L"LeftMargin", r8(points)); }
    void setRightMargin(double points) override { object().put(L"RightMargin", r8(points)); }
    // The page layout gives whole points for these two, as 16-bit integers.
    void setTopMargin(double points) override { object().put(L"TopMargin", wholePoints(points)); }
    void setBottomMargin(double points) override {
        object().put(L"BottomMargin", wholePoints(points));
    }
    void setCenterHeader(const std::string& s) override { object().put(L"CenterHeader", text(s)); }
    std::string LeftFooter() override { return toText(*object().get(L"LeftFooter").get()); }
    void setLeftFooter(const std::string& s) override { object().put(L"LeftFooter", text(s)); }
    void setCenterFooter(const std::string& s) override { object().put(L"CenterFooter", text(s)); }
    void setRightFooter(const std::string& s) override { object().put(L"RightFooter", text(s)); }
    void setPrintTitleRows(const std::string& rows) override {
        object().put(L"PrintTitleRows", text(rows));
    }
};

class ExcelRange : public xl::Range, public ExcelHandle {
public:
    using ExcelHandle::ExcelHandle;
    void Select() override { object().call(L"Select"); }
    void Activate() override { object().call(L"Activate"); }
    xl::Variant Value() override { return toCell(*object().get(L"Value").get()); }
    void setValue(const xl::Variant& value) override { object().put(L"Value", fromCell(value)); }
    std::string Text() override { return toText(*object().get(L"Text").get()); }
    void setFormulaR1C1(const std::string& f) override { object().put(L"FormulaR1C1", text(f)); }
    void setNumberFormat(const std::string& f) override { object().put(L"NumberFormat", text(f)); }
    void setHorizontalAlignment(std::int32_t a) override {
        object().put(L"HorizontalAlignment", i4(a));
    }
    void setVerticalAlignment(std::int32_t a) override {
        object().put(L"VerticalAlignment", i4(a));
    }
    void setWrapText(bool wrap) override { object().put(L"WrapText", boolean(wrap)); }
    void setOrientation(std::int16_t degrees) override {
        object().put(L"Orientation", i2(degrees));
    }
    void setAddIndent(bool indent) override { object().put(L"AddIndent", boolean(indent)); }
    void setShrinkToFit(bool shrink) override { object().put(L"ShrinkToFit", boolean(shrink)); }
    void setMergeCells(bool merge) override { object().put(L"MergeCells", boolean(merge)); }
    std::shared_ptr<xl::Font> Font() override { return makeFont(object().child(L"Font", L"Font")); }
    xl::RangePtr Columns() override { return makeRange(object().child(L"Columns", L"Range")); }
    void AutoFit() override { object().call(L"AutoFit"); }
    void TextToColumns(const xl::RangePtr& destination,
                       const xl::TextToColumnsOptions& o) override {
        std::vector<NamedArg> named;
        named.push_back({L"Destination", argument(destination)});
        named.push_back({L"DataType", i4(o.dataType)});
        named.push_back({L"TextQualifier", i4(o.textQualifier)});
        named.push_back({L"ConsecutiveDelimiter", boolean(o.consecutiveDelimiter)});
        named.push_back({L"Tab", boolean(o.tab)});
        named.push_back({L"Semicolon", boolean(o.semicolon)});
        named.push_back({L"Comma", boolean(o.comma)});
        named.push_back({L"Space", boolean(o.space)});
        named.push_back({L"Other", boolean(o.other)});
        named.push_back({L"OtherChar", text(o.otherChar)});
        named.push_back({L"FieldInfo", fieldInfo(o.fieldInfo)});
        object().call(L"TextToColumns", {}, std::move(named));
    }
    void FillDown() override { object().call(L"FillDown"); }
    // The application's copy replaces whatever text was set for pasting.
    void Copy() override {
        Session& session = *object().cache();
        session.pasteText.clear();
        session.onClipboard = false;
        object().call(L"Copy");
    }
    void PasteSpecial(std::int32_t paste, std::int32_t operation, bool skipBlanks,
                      bool transpose) override {
        std::vector<NamedArg> named;
        named.push_back({L"Paste", i4(paste)});
        named.push_back({L"Operation", i4(operation)});
        named.push_back({L"SkipBlanks", boolean(skipBlanks)});
        named.push_back({L"Transpose", boolean(transpose)});
        object().call(L"PasteSpecial", {}, std::move(named));
    }
    void Delete(std::int32_t shift) override {
        std::vector<NamedArg> named;
        named.push_back({L"Shift", i4(shift)});
        object().call(L"Delete", {}, std::move(named));
    }
};

} // namespace

Variant argument(const void* object, const ExcelHandle* handle) {
    if (object == nullptr) {
        return {};
    }
    if (handle == nullptr) {
        throw xl::programError(xl::ErrTypeMismatch);
    }
    return com::object(handle->object().dispatch());
}

std::shared_ptr<xl::Font> makeFont(ComObject o) {
    return std::make_shared<ExcelFont>(std::move(o));
}
std::shared_ptr<xl::PageSetup> makePageSetup(ComObject o) {
    return std::make_shared<ExcelPageSetup>(std::move(o));
}
std::shared_ptr<xl::Range> makeRange(ComObject o) {
    return std::make_shared<ExcelRange>(std::move(o));
}

void writeLines(const ComObject& sheet, const std::string& text) {
    std::int32_t row = 1;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find_first_of("\r\n", start);
        const std::string line = text.substr(start, end == std::string::npos ? end : end - start);
        if (!line.empty()) {
            sheet.child(L"Cells", L"Range", {i4(row), i4(1)}).put(L"Value", com::text(line));
        }
        ++row;
        if (end == std::string::npos) {
            break;
        }
        // CR LF is one line break.
        start = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
    }
}

} // namespace kelvor::com
