#include "host/app/files/WriteNotices.h"

#include "platform/DurableFile.h"
#include "util/PathText.h"

namespace kelvor {

namespace {

std::string joined(const std::vector<std::filesystem::path>& paths) {
    std::string text;
    for (const auto& path : paths) {
        text += (text.empty() ? "" : ", ") + utf8Of(path);
    }
    return text;
}

bool heldOpen(const WriteFailure& failure) {
    return failure.reason == FileHeldOpenReason;
}

} // namespace

bool worthTelling(BookFile& file, const std::optional<WriteFailure>& failure) {
    if (!failure) {
        if (file.written) {
            file.heldOpenTold = false;
        }
        return false;
    }
    // A folder that is away is told by the folder's own check, once.
    if (failure->reason == WorkbookFolderAwayReason) {
        return false;
    }
    if (!heldOpen(*failure)) {
        return true;
    }
    const bool told = file.heldOpenTold;
    file.heldOpenTold = true;
    return !told;
}

std::string writeFailureMessage(const std::vector<WriteFailure>& failures, bool last,
                                const std::vector<std::filesystem::path>& rescued) {
    const bool many = failures.size() > 1;
    std::vector<std::filesystem::path> paths;
    bool oneReason = true;
    for (const auto& failure : failures) {
        paths.push_back(failure.path);
        oneReason = oneReason && failure.reason == failures.front().reason;
    }
    std::string message;
    if (oneReason && heldOpen(failures.front())) {
        message = (many ? "The workbook files " : "The workbook file ") + joined(paths) +
                  (many ? " are open in another program and cannot be written until they are "
                          "closed there."
                        : " is open in another program and cannot be written until it is "
                          "closed there.");
    } else if (oneReason) {
        message = (many ? "The workbook files " : "The workbook file ") + joined(paths) +
                  " could not be written: " + failures.front().reason + ".";
    } else {
        message = "The workbook files could not be written: ";
        for (std::size_t i = 0; i < failures.size(); ++i) {
            message +=
                (i == 0 ? "" : "; ") + utf8Of(failures[i].path) + " (" + failures[i].reason + ")";
        }
        message += ".";
    }
    if (!last) {
        message += many ? " The workbooks stay open and are written again after the next report."
                        : " The workbook stays open and is written again after the next report.";
    } else if (rescued.size() == failures.size()) {
        message +=
            (many ? " They were saved as " : " It was saved as ") + joined(rescued) + " instead.";
    } else if (!rescued.empty()) {
        message += " Saved instead as " + joined(rescued) +
                   "; the changes of the others since they were last written are lost.";
    } else {
        message += many ? " Their changes since they were last written are lost."
                        : " Its changes since it was last written are lost.";
    }
    return message;
}

} // namespace kelvor
