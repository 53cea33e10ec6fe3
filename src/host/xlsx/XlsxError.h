#pragma once

#include <stdexcept>

namespace kelvor {

// A workbook file could not be written; what() is a message fit for the user.
class XlsxError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace kelvor
