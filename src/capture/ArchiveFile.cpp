#include "capture/ArchiveFile.h"

#include "util/PathText.h"

#include <system_error>

namespace kelvor {

std::filesystem::path
freeArchiveName(const std::filesystem::path& folder, const std::string& stem,
                const std::function<bool(const std::filesystem::path&)>& taken) {
    for (int n = 1;; ++n) {
        const std::string name = n == 1 ? stem : stem + " (" + std::to_string(n) + ")";
        auto path = folder / pathFromUtf8(name + ".txt");
        std::error_code error;
        if (!std::filesystem::exists(path, error) && !(taken && taken(path))) {
            return path;
        }
    }
}

void ArchiveFile::end(bool cutShort) {
    ended_ = true;
    cutShort_ = cutShort;
}

void ArchiveFile::write(const std::function<bool(const std::filesystem::path&)>& taken) {
    if (dropped_ || done()) {
        return;
    }
    if (!file_) {
        if (created_) {
            file_ = AppendFile::openExisting(path_, kept_);
        } else {
            std::error_code ignored; // a folder that cannot be made fails the creation below
            std::filesystem::create_directories(path_.parent_path(), ignored);
            try {
                file_ = AppendFile::createNew(path_);
            } catch (const FileError&) {
                // A file took the name while the report waited (another program, a folder
                // that came back with files of its own): the next free name then.
                if (!std::filesystem::exists(path_, ignored)) {
                    throw;
                }
                path_ = freeArchiveName(path_.parent_path(), utf8Of(path_.stem()), taken);
                file_ = AppendFile::createNew(path_);
            }
            created_ = true;
        }
    }
    if (!pending_.empty()) {
        file_->append(pending_);
        kept_ += pending_.size();
        pending_.clear();
    }
    if (!ended_) {
        return;
    }
    file_->sync();
    file_->close();
    file_.reset();
    if (cutShort_) {
        const auto marked =
            freeArchiveName(path_.parent_path(), utf8Of(path_.stem()) + " (cut short)");
        std::error_code error;
        std::filesystem::rename(path_, marked, error);
        if (!error) {
            path_ = marked;
        }
        cutShort_ = false;
    }
}

void ArchiveFile::moveTo(std::filesystem::path path) {
    release();
    path_ = std::move(path);
    created_ = false;
    kept_ = 0;
    moved_ = true;
}

void ArchiveFile::drop() {
    release();
    pending_.clear();
    pending_.shrink_to_fit();
    dropped_ = true;
}

} // namespace kelvor
