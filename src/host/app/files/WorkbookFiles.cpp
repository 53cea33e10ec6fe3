#include "host/app/files/WorkbookFiles.h"

#include "host/model/Workbook.h"
#include "host/xlsx/XlsxError.h"
#include "host/xlsx/ZipArchive.h"
#include "platform/DurableFile.h"
#include "util/PathText.h"

#include <mutex>
#include <set>

namespace kelvor {

namespace {

// Every path handed out in this process, so that two applications of one run (the first
// one closed, its successor started) never share a file.
struct Claims {
    std::mutex mutex;
    std::set<std::string> paths;
};

Claims& claims() {
    static Claims instance;
    return instance;
}

std::string claimKey(const std::filesystem::path& path) {
    std::error_code error;
    const auto absolute = std::filesystem::absolute(path, error);
    return utf8Of((error ? path : absolute).lexically_normal());
}

std::vector<std::uint64_t> signature(const Workbook& book) {
    std::vector<std::uint64_t> out;
    out.reserve(book.sheetCount() * 2 + 1);
    for (std::size_t i = 0; i < book.sheetCount(); ++i) {
        out.push_back(book.sheet(i).id());
        out.push_back(book.sheet(i).revision());
    }
    out.push_back(book.activeSheet().value_or(book.sheetCount()));
    return out;
}

} // namespace

WorkbookFiles::WorkbookFiles(std::filesystem::path folder, FolderCheck folderIsOurs)
    : folder_(std::move(folder)), folderIsOurs_(std::move(folderIsOurs)) {
    if (this->folderIsOurs()) {
        std::error_code ignored;
        std::filesystem::create_directories(folder_, ignored);
    }
}

std::filesystem::path WorkbookFiles::claim(const std::string& bookName) const {
    auto& registry = claims();
    const std::lock_guard lock(registry.mutex);
    for (int n = 1;; ++n) {
        const auto name = n == 1 ? bookName : bookName + " (" + std::to_string(n) + ")";
        auto path = folder_ / pathFromUtf8(name + ".xlsx");
        std::error_code error;
        if (std::filesystem::exists(path, error) || registry.paths.contains(claimKey(path))) {
            continue;
        }
        registry.paths.insert(claimKey(path));
        return path;
    }
}

std::filesystem::path WorkbookFiles::reclaim(const std::string& bookName) const {
    auto& registry = claims();
    const std::lock_guard lock(registry.mutex);
    auto path = folder_ / pathFromUtf8(bookName + ".xlsx");
    registry.paths.insert(claimKey(path));
    return path;
}

void WorkbookFiles::adopt(const Workbook& book, BookFile& file) {
    file.written = true;
    // A file torn while it grew in place is written whole again at the next write.
    if (zipFileEndsWhole(file.path)) {
        file.lastWritten = signature(book);
    }
}

bool WorkbookFiles::changed(const Workbook& book, const BookFile& file) {
    return !file.written || file.lastWritten != signature(book);
}

std::optional<WriteFailure> WorkbookFiles::write(const Workbook& book, const std::string& bookName,
                                                 BookFile& file) const {
    if (!changed(book, file)) {
        return std::nullopt;
    }
    // Not even a folder is made at a path where the right one is missing.
    if (!folderIsOurs()) {
        return WriteFailure{file.path, WorkbookFolderAwayReason};
    }
    std::error_code error;
    std::filesystem::create_directories(folder_, error);
    if (error) {
        return WriteFailure{file.path, fileErrorReason(error.value())};
    }
    if (!file.written && std::filesystem::exists(file.path, error)) {
        file.path = claim(bookName);
    }
    try {
        file.writer.write(book, file.path);
    } catch (const XlsxError& e) {
        return WriteFailure{file.path, e.reason()};
    } catch (const std::exception& e) {
        return WriteFailure{file.path, e.what()};
    }
    file.written = true;
    file.lastWritten = signature(book);
    return std::nullopt;
}

} // namespace kelvor
