#pragma once

// A recording as the replay server reads it: its sections, one per application started, each
// the lines that application is to receive in order.

#include <filesystem>
#include <string>
#include <vector>

namespace kelvor::test::replay {

struct ScriptLine {
    enum class Kind { Call, End, Clipboard };
    Kind kind = Kind::Call;
    std::string call;   // a call: the call; a clipboard line: the text it must hold
    std::string answer; // a call: its answer
    int number = 0;     // line number in the file, from 1
};

struct ScriptSection {
    int application = 0; // the object id the new application hands out
    std::vector<ScriptLine> lines;
    std::size_t calls() const;
};

// The sections of the file, in order; empty when it cannot be read.
std::vector<ScriptSection> readScript(const std::filesystem::path& file);

} // namespace kelvor::test::replay
