#pragma once

// The replay server as a test starts it: registered for the user as "Excel.Application" for
// as long as the holder lives (and never longer, so that nothing after the test takes it for
// the desktop's spreadsheet application), given the recording, and read out afterwards.

#include <filesystem>
#include <string>
#include <vector>

namespace kelvor::test::replay {

// What one server process checked: one per application the client started.
struct ServerResult {
    std::size_t checked = 0;
    std::size_t expected = 0;
    std::size_t typeInfo = 0;
    std::string difference;
    std::string note;
    bool found = false;
};

class ReplayServerRun {
public:
    ReplayServerRun(const std::filesystem::path& recording, std::filesystem::path results);
    ~ReplayServerRun();
    ReplayServerRun(const ReplayServerRun&) = delete;
    ReplayServerRun& operator=(const ReplayServerRun&) = delete;

    // The server program, beside the test program.
    static std::filesystem::path serverProgram();
    // Removes whatever an earlier run left registered.
    static void unregister();

    std::vector<ServerResult> results(std::size_t sections) const;

private:
    std::filesystem::path results_;
};

} // namespace kelvor::test::replay
