#include "host/app/automation/BuiltinFont.h"

#include "host/app/cells/CellEditing.h"
#include "host/app/errors/HostErrors.h"

#include <algorithm>
#include <cctype>

namespace kelvor {

BuiltinFont::BuiltinFont(SheetRef sheet, std::vector<CellRange> areas)
    : sheet_(std::move(sheet)), areas_(std::move(areas)) {}

void BuiltinFont::change(const std::function<void(kelvor::Font&)>& edit) {
    auto& sheet = sheet_.worksheet();
    modelCall([&] {
        restyle(sheet_.book->model, sheet, areas_, [&](Style& style) { edit(style.font); });
    });
}

void BuiltinFont::setName(const std::string& name) {
    if (name.empty()) {
        throw methodError("Unable to set the Name property of the Font class");
    }
    change([&](kelvor::Font& font) { font.name = name; });
}

void BuiltinFont::setFontStyle(const std::string& style) {
    std::string lower(style);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    const bool bold = lower.find("bold") != std::string::npos;
    change([&](kelvor::Font& font) { font.bold = bold; });
}

void BuiltinFont::setSize(double points) {
    if (!(points >= 1.0 && points <= 409.0)) {
        throw methodError("Unable to set the Size property of the Font class");
    }
    change([&](kelvor::Font& font) { font.size = points; });
}

void BuiltinFont::setBold(bool bold) {
    change([&](kelvor::Font& font) { font.bold = bold; });
}

} // namespace kelvor
