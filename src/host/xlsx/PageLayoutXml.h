#pragma once

#include <string>

namespace kelvor {

struct PageSetup;

enum class Orientation { Portrait, Landscape };

// pageMargins (in inches), pageSetup and headerFooter, in the order both worksheet and chart
// sheet parts expect them.
void appendPageLayout(std::string& out, const PageSetup& page, Orientation orientation);

} // namespace kelvor
