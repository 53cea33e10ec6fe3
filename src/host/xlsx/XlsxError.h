#pragma once

#include <filesystem>
#include <stdexcept>
#include <string>

namespace kelvor {

// A workbook file could not be written: which file, and why in words fit for the user. The
// package code below the writer knows no file yet and gives the reason alone.
class XlsxError : public std::runtime_error {
public:
    explicit XlsxError(std::string reason);
    // what() = "Cannot write the workbook file <path>: <reason>"
    XlsxError(std::filesystem::path path, std::string reason);

    const std::filesystem::path& path() const { return path_; }
    const std::string& reason() const { return reason_; }

private:
    std::filesystem::path path_;
    std::string reason_;
};

} // namespace kelvor
