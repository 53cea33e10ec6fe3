#pragma once

#include "platform/PlatformConfig.h"
#include "platform/Prompts.h"
#include "util/EventLog.h"

#include <string>

namespace kelvor {

// The user's choice, per channel, of a PDF of each test: read with the settings at load,
// switched from the channel's light and written to the settings file at once (its own key
// only). A file that refuses the change is told; the choice holds for this run all the same.
class PdfOfEachTest {
public:
    // `platform` and `iniPath` are the program's, filled in when the settings are read.
    PdfOfEachTest(PlatformConfig& platform, const std::string& iniPath, Prompts& prompts,
                  EventLog* log = nullptr)
        : platform_(platform), iniPath_(iniPath), prompts_(prompts), log_(log) {}

    bool on(int channel) const;
    void set(int channel, bool on);

private:
    PlatformConfig& platform_;
    const std::string& iniPath_;
    Prompts& prompts_;
    EventLog* log_;
};

} // namespace kelvor
