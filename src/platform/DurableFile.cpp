#include "platform/DurableFile.h"

#include "platform/DurableFileParts.h"
#include "util/PathText.h"

#include <cctype>
#include <cerrno>
#include <string_view>
#include <system_error>
#include <utility>

// What every system shares: the error, its words, the temporary files' names.
namespace kelvor {

namespace {

using durable::ClosedHandle;
using durable::TemporarySuffix;

// A temporary name must stay within the usual 255-byte limit of a file name.
constexpr std::size_t MaxNamePart = 200;

bool allDigits(std::string_view text) {
    if (text.empty()) {
        return false;
    }
    for (const char c : text) {
        if (!std::isdigit(static_cast<unsigned char>(c))) {
            return false;
        }
    }
    return true;
}

} // namespace

namespace durable {

std::filesystem::path folderOf(const std::filesystem::path& target) {
    return target.has_parent_path() ? target.parent_path() : std::filesystem::path(".");
}

std::filesystem::path temporaryName(const std::filesystem::path& target, int attempt,
                                    unsigned long processId) {
    // In the system's own characters, so that no name is cut inside a character.
    using Native = std::filesystem::path::string_type;
    const auto native = [](const std::string& ascii) { return Native(ascii.begin(), ascii.end()); };
    std::string tail = "." + std::to_string(processId);
    if (attempt > 0) {
        tail += "-" + std::to_string(attempt + 1);
    }
    tail += TemporarySuffix;
    const Native name =
        native(".") + target.filename().native().substr(0, MaxNamePart) + native(tail);
    return folderOf(target) / name;
}

} // namespace durable

FileError::FileError(std::filesystem::path path, std::string reason)
    : std::runtime_error(utf8Of(path) + ": " + reason), path_(std::move(path)),
      reason_(std::move(reason)) {}

const std::filesystem::path& FileError::path() const {
    return path_;
}

const std::string& FileError::reason() const {
    return reason_;
}

std::string fileErrorReason(int errorNumber) {
    switch (errorNumber) {
    case ENOSPC:
        return "no space left on the disk";
#ifdef EDQUOT
    case EDQUOT:
        return "the disk quota of this user is used up";
#endif
    case EFBIG:
        return "file too large for the disk or for the file-size limit of this program";
    case EROFS:
        return "the disk is read-only";
    case EACCES:
    case EPERM:
        return "the folder is read-only (no permission to write there)";
    case ENOTDIR:
        return "not a folder: a file stands where the path needs a folder";
    case EISDIR:
        return "a folder stands where the file should be";
    case ENOENT:
        return "the folder does not exist";
    case EEXIST:
        return "a file of that name exists already";
    case EIO:
        return "the disk failed to read or write (input/output error)";
    case ENAMETOOLONG:
        return "the file name is too long";
#ifdef ELOOP
    case ELOOP:
        return "too many symbolic links in the path";
#endif
    case EMFILE:
    case ENFILE:
        return "too many files are open";
    case ENOMEM:
        return "not enough memory";
    case EBUSY:
#ifdef ETXTBSY
    case ETXTBSY:
#endif
        return FileHeldOpenReason;
    case ENXIO:
    case ENODEV:
#ifdef ESTALE
    case ESTALE:
#endif
        return "the disk or network share is gone";
#ifdef ETIMEDOUT
    case ETIMEDOUT:
        return "the network share does not answer";
#endif
    case EXDEV:
        return "the file would have to move to another disk";
    case EINVAL:
        return "the file system does not allow this";
    default:
        break;
    }
    std::string text = std::generic_category().message(errorNumber);
    if (!text.empty()) {
        text[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(text[0])));
    }
    return text + " (error " + std::to_string(errorNumber) + ")";
}

bool isTemporaryFileName(const std::string& fileName) {
    std::string_view name = fileName;
    if (!name.starts_with('.') || !name.ends_with(TemporarySuffix)) {
        return false;
    }
    name.remove_prefix(1);
    name.remove_suffix(TemporarySuffix.size());
    const auto dot = name.rfind('.');
    if (dot == std::string_view::npos || dot == 0) {
        return false;
    }
    const auto token = name.substr(dot + 1);
    const auto dash = token.find('-');
    return allDigits(token.substr(0, dash)) &&
           (dash == std::string_view::npos || allDigits(token.substr(dash + 1)));
}

AppendFile::AppendFile(std::filesystem::path path, std::intptr_t handle, std::size_t size)
    : path_(std::move(path)), handle_(handle), size_(size) {}

AppendFile::AppendFile(AppendFile&& other) noexcept
    : path_(std::move(other.path_)), handle_(std::exchange(other.handle_, ClosedHandle)),
      size_(std::exchange(other.size_, 0)) {}

AppendFile& AppendFile::operator=(AppendFile&& other) noexcept {
    if (this != &other) {
        if (handle_ != ClosedHandle) {
            durable::releaseHandle(handle_);
        }
        path_ = std::move(other.path_);
        handle_ = std::exchange(other.handle_, ClosedHandle);
        size_ = std::exchange(other.size_, 0);
    }
    return *this;
}

AppendFile::~AppendFile() {
    if (handle_ != ClosedHandle) {
        durable::releaseHandle(handle_);
    }
}

const std::filesystem::path& AppendFile::path() const {
    return path_;
}

FileStamp AppendFile::stamp() const {
    return handle_ == ClosedHandle ? FileStamp{} : durable::stampOfHandle(handle_);
}

// Small writes (zip headers) are gathered into one system call; big ones go straight through.
void ReplacingFile::write(std::string_view bytes) {
    if (!failure_.empty()) {
        throw FileError(target_, failure_);
    }
    if (committed_) {
        throw FileError(target_, "the file was already written");
    }
    if (buffer_.size() + bytes.size() <= ReplacingFileBufferSize) {
        buffer_.append(bytes);
        return;
    }
    flushBuffer();
    if (bytes.size() < ReplacingFileBufferSize) {
        buffer_.append(bytes);
        return;
    }
    writeThrough(bytes);
    written_ += bytes.size();
}

void ReplacingFile::flushBuffer() {
    if (buffer_.empty()) {
        return;
    }
    writeThrough(buffer_);
    written_ += buffer_.size();
    buffer_.clear();
}

void ReplacingFile::fail(std::string reason) {
    failure_ = reason;
    discard();
    throw FileError(target_, std::move(reason));
}

void forEachTemporaryFile(const std::filesystem::path& folder,
                          const std::function<void(const std::filesystem::path&)>& visit) {
    std::error_code error;
    std::filesystem::directory_iterator entries(folder, error);
    for (; !error && entries != std::filesystem::directory_iterator(); entries.increment(error)) {
        const auto& path = entries->path();
        std::error_code statusError;
        // The name as UTF-8: a workbook named in Cyrillic leaves a temporary file named so too.
        if (isTemporaryFileName(utf8Of(path.filename())) &&
            std::filesystem::is_regular_file(std::filesystem::symlink_status(path, statusError))) {
            visit(path);
        }
    }
}

} // namespace kelvor
