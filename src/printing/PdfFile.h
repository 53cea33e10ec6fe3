#pragma once

#include "host/view/BookView.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace kelvor {

// Writes the sheets to a PDF at `path` under a temporary name in the same folder, then renames it
// over `path` (the temp file removed on failure). Returns an empty string on success, else a
// one-line reason for the user.
std::string savePdf(const BookView& book, const std::vector<std::uint32_t>& sheetIds,
                    const std::filesystem::path& path);

} // namespace kelvor
