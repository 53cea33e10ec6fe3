#pragma once

#include <optional>
#include <string>

namespace kelvor {

// A data sheet whose report was cut short carries the cause in its left footer, so that the
// printed pages say so and a summary made any time later can tell its reader.

// "Cut short: the line was lost"
std::string cutShortFooter(const std::string& cause);

// The cause in a footer made by cutShortFooter; nothing for any other footer.
std::optional<std::string> cutShortCause(const std::string& footer);

} // namespace kelvor
