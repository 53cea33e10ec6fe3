#pragma once

#include <functional>
#include <memory>

namespace kelvor {

// Turns SIGTERM and SIGINT (on Windows the console's control events: Ctrl+C, its window
// closed, logging off, shutting down) into a call on the event loop, so the program can end
// the way its close box ends it (ports closed, settings written) when a terminal, a service
// manager or the end of the session stops it. One instance per process.
class TerminationSignals {
public:
    explicit TerminationSignals(std::function<void()> onSignal);
    ~TerminationSignals();
    TerminationSignals(const TerminationSignals&) = delete;
    TerminationSignals& operator=(const TerminationSignals&) = delete;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

} // namespace kelvor
