#pragma once

#include <string>

namespace kelvor {

class Styles;

// The styles part. Cell format k of the part is style id k of the table, so cells refer to
// their style id directly.
std::string stylesXml(const Styles& styles);

} // namespace kelvor
