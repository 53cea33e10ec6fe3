#pragma once

#include "host/view/BookView.h"
#include "platform/Prompts.h"
#include "util/EventLog.h"

#include <QObject>
#include <QTimer>

#include <cstdint>
#include <deque>
#include <filesystem>
#include <functional>
#include <set>
#include <string>
#include <vector>

namespace kelvor {

// One sheet of a test to be written as a PDF file.
struct PdfJob {
    std::string channelName; // for the log and the message
    BookView book;           // kept alive until written, also when the workbook closes
    std::uint32_t sheetId = 0;
    std::filesystem::path path;
};

// Writes the PDFs of the tests after their exports, one sheet per turn of the event loop, so
// that capture and its timers never wait for a drawing. A PDF that cannot be written is
// logged each time and told once per cause until a PDF is written again; the queue goes on
// with the next. Nothing is written while the workbook folder is not the reader's.
class PdfQueue final : public QObject {
    Q_OBJECT
public:
    using Writer =
        std::function<std::string(const BookView& book, const std::vector<std::uint32_t>& sheetIds,
                                  const std::filesystem::path& path)>;

    struct Wiring {
        Prompts& prompts;
        EventLog* log = nullptr;                 // not owned; none: nothing is logged
        std::function<bool()> folderIsOurs = {}; // empty: always
        Writer write = {};                       // empty: savePdf
    };

    explicit PdfQueue(Wiring wiring);

    void add(PdfJob job);
    std::size_t pending() const { return jobs_.size(); }

    // Nothing is written while one lives: an export that runs a message loop (a box that
    // waits) must not find a drawing started in the middle of it.
    class Hold {
    public:
        explicit Hold(PdfQueue& queue) : queue_(queue) { ++queue_.held_; }
        ~Hold() { queue_.release(); }
        Hold(const Hold&) = delete;
        Hold& operator=(const Hold&) = delete;

    private:
        PdfQueue& queue_;
    };

private:
    void release();
    void writeNext();
    std::string writeOne(const PdfJob& job);
    void failed(const PdfJob& job, const std::string& reason);
    void note(const std::string& line) const;

    Wiring w_;
    std::deque<PdfJob> jobs_;
    QTimer turn_;
    std::set<std::string> told_; // causes told since the last PDF written
    int held_ = 0;
};

} // namespace kelvor
