#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kelvor {

// One record of comma-separated values: a field holding a comma, a double quote, a carriage
// return or a line feed is put in double quotes, its double quotes doubled; the record ends
// with CR LF.
std::string csvRecord(const std::vector<std::string>& fields);

// The field as a record writes it.
std::string csvField(std::string_view field);

} // namespace kelvor
