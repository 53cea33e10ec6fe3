#pragma once

#include "host/xlsx/XlsxWriter.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace kelvor {
class Workbook;
}

namespace kelvor {

// One workbook's file: where it goes, the writer that keeps its compressed parts between
// writes, and the state of the workbook that was last written.
struct BookFile {
    std::filesystem::path path;
    bool written = false; // the path holds a file this program wrote
    std::vector<std::uint64_t> lastWritten;
    XlsxWriter writer;
    // The user was told that another program holds the file open; not again until a write
    // of it succeeds.
    bool heldOpenTold = false;
};

struct WriteFailure {
    std::filesystem::path path;
    std::string reason;
};

// Why a write was not even tried: the folder at the path is not the one the program wrote
// to before. Whoever checks the folder tells the user; the writes of workbooks do not.
inline constexpr const char* WorkbookFolderAwayReason =
    "the workbook folder is not the one the reader wrote to before";

// The folder where the application mirrors its workbooks as .xlsx files.
class WorkbookFiles {
public:
    // Asked before anything is written into the folder; none: always the right one.
    using FolderCheck = std::function<bool()>;

    // Creates the folder when it is missing; a folder that cannot be made is tried again at
    // every write.
    explicit WorkbookFiles(std::filesystem::path folder, FolderCheck folderIsOurs = {});

    const std::filesystem::path& folder() const { return folder_; }

    // "<name>.xlsx", or "<name> (2).xlsx", "(3)", ...: never a file that exists now, nor one
    // that any workbook of this program has been given before.
    std::filesystem::path claim(const std::string& bookName) const;
    // "<name>.xlsx" as it is, existing or not, for a workbook that stands for the file an
    // earlier run wrote; no other workbook of this program is given it afterwards.
    std::filesystem::path reclaim(const std::string& bookName) const;

    // Writes the workbook when it changed since its last write. Until the first write
    // succeeds, a file that appeared at its path meanwhile makes it claim another one.
    std::optional<WriteFailure> write(const Workbook& book, const std::string& bookName,
                                      BookFile& file) const;

    // Whether the workbook changed since its last write.
    static bool changed(const Workbook& book, const BookFile& file);
    // The workbook counts as written to its file as it is now: its file holds it already,
    // unless the file does not end as a whole archive does.
    static void adopt(const Workbook& book, BookFile& file);

private:
    bool folderIsOurs() const { return !folderIsOurs_ || folderIsOurs_(); }

    std::filesystem::path folder_;
    FolderCheck folderIsOurs_;
};

} // namespace kelvor
