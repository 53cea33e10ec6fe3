#pragma once

#include <string>
#include <string_view>

namespace kelvor {

// Whether a spreadsheet program accepts the UTF-8 text as a sheet name: 1 to 31 characters,
// none of : \ / ? * [ ] or a control character, not beginning or ending with an apostrophe.
bool isValidSheetName(std::string_view name);

// Sheet names are compared without regard to case.
bool sameSheetName(std::string_view a, std::string_view b);

// Equal for two names exactly when sameSheetName holds for them: a key to find sheets by.
std::string sheetNameKey(std::string_view name);

} // namespace kelvor
