#pragma once

// The recording of one scenario: every automation call the export makes into the spreadsheet
// application, as the built-in application answered it, one line each (ReplayFormat.h). The
// replay server answers the same calls from it.

#include "export/HostError.h"

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace kelvor::test::replay {

struct RecorderOptions {
    // Paste takes the report from the system clipboard; otherwise the back end writes its
    // lines into column A (the clipboard could not be opened).
    bool clipboard = true;
    // The folder channel workbooks are saved in, as the back end names it (UTF-8).
    std::string workbookFolder;
};

using NamedArgs = std::vector<std::pair<std::string, std::string>>;

class CallLog {
public:
    explicit CallLog(RecorderOptions options) : options_(std::move(options)) {}

    // A new application: its object's id. Calls into an earlier application fail from here on
    // as into one that has ended.
    int startApplication();
    int newObject() { return ++lastId_; }
    int section() const { return section_; }
    // The application answers `calls` more calls and ends at the one after: that call and
    // every later one into it fail with 462, as when its user closed it.
    void endApplicationAfter(int calls) { endCountdown_ = calls; }

    // One call on object `id` of application `section`: `answer` runs it on the built-in
    // application and says what it answered; its HostError is recorded and thrown on.
    void call(int section, int id, std::string_view kind, std::string_view member,
              std::vector<std::string> args, NamedArgs named,
              const std::function<std::string()>& answer);
    // What the system clipboard must hold at the next call.
    void clipboard(const std::string& text);

    const RecorderOptions& options() const { return options_; }
    // Text set for the next Paste.
    std::string pasteText;

    const std::vector<std::string>& lines() const { return lines_; }
    std::size_t calls() const { return calls_; }
    void write(const std::filesystem::path& file) const;

private:
    RecorderOptions options_;
    std::vector<std::string> lines_;
    std::size_t calls_ = 0;
    int lastId_ = 0;
    int section_ = 0; // the running application, counted from 1
    bool alive_ = false;
    int endCountdown_ = -1; // none
};

// Where a recorded object lives: its log, its application and its id.
struct Handle {
    std::shared_ptr<CallLog> log;
    int section = 0;
    int id = 0;
};

} // namespace kelvor::test::replay
