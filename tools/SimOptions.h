#pragma once

#include "ReportPlayer.h"

#include <string>
#include <vector>

namespace kelvor {

struct SimOptions {
    std::string device;       // --device PATH
    bool pty = false;         // --pty
    bool waitForLine = false; // --wait
    bool stepByLine = false;  // --step
    PlayOptions play;
    std::vector<std::string> files;
};

struct SimCommand {
    enum class Kind { Run, Help, Invalid };
    Kind kind = Kind::Invalid;
    SimOptions options; // for Run
    std::string error;  // for Invalid
};

// Parses the command line without the program name. Options and files may be mixed; "--"
// ends the options; "--name=value" works as well as "--name value".
SimCommand parseSimCommand(const std::vector<std::string>& args);

std::string simUsage();

} // namespace kelvor
