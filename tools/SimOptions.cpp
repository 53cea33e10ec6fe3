#include "SimOptions.h"

#include <charconv>
#include <cmath>
#include <optional>
#include <string_view>

namespace kelvor {

namespace {

std::optional<double> parseSeconds(std::string_view text) {
    double value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || !std::isfinite(value) ||
        value < 0) {
        return std::nullopt;
    }
    return value;
}

std::optional<int> parseCount(std::string_view text) {
    int value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || value < 1) {
        return std::nullopt;
    }
    return value;
}

SimCommand invalid(std::string error) {
    SimCommand command;
    command.error = std::move(error);
    return command;
}

bool takesValue(const std::string& name) {
    return name == "--device" || name == "--rate" || name == "--pause" || name == "--bursts" ||
           name == "--burst-pause" || name == "--repeat" || name == "--hold";
}

bool isFlag(const std::string& name) {
    return name == "--pty" || name == "--wait" || name == "--step" || name == "--help";
}

// Sets one option (other than --help) from its value; the complaint when the value will not do.
std::optional<std::string> applyOption(SimOptions& options, const std::string& name,
                                       const std::string& value) {
    if (name == "--pty") {
        options.pty = true;
    } else if (name == "--wait") {
        options.waitForLine = true;
    } else if (name == "--step") {
        options.stepByLine = true;
    } else if (name == "--device") {
        if (value.empty()) {
            return "option --device needs a path";
        }
        options.device = value;
    } else if (name == "--bursts" || name == "--repeat") {
        const auto count = parseCount(value);
        if (!count) {
            return "option " + name + " needs a whole number of at least 1, not '" + value + "'";
        }
        (name == "--bursts" ? options.play.bursts : options.play.repeat) = *count;
    } else {
        const auto number = parseSeconds(value);
        if (!number) {
            return "option " + name + " needs a number of at least 0, not '" + value + "'";
        }
        double& target = name == "--rate"    ? options.play.rate
                         : name == "--pause" ? options.play.pause
                         : name == "--hold"  ? options.play.hold
                                             : options.play.burstPause;
        target = *number;
    }
    return std::nullopt;
}

} // namespace

SimCommand parseSimCommand(const std::vector<std::string>& args) {
    SimCommand command;
    SimOptions& options = command.options;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
            options.files.push_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        const auto eq = arg.find('=');
        const std::string name = arg.substr(0, eq);
        if (!takesValue(name) && !isFlag(name)) {
            return invalid("unknown option " + name);
        }
        if (isFlag(name) && eq != std::string::npos) {
            return invalid("option " + name + " takes no value");
        }
        std::string value;
        if (eq != std::string::npos) {
            value = arg.substr(eq + 1);
        } else if (takesValue(name) && i + 1 < args.size()) {
            value = args[++i];
        } else if (takesValue(name)) {
            return invalid("option " + name + " needs a value");
        }
        if (name == "--help") {
            command.kind = SimCommand::Kind::Help;
            return command;
        }
        if (auto error = applyOption(options, name, value)) {
            return invalid(std::move(*error));
        }
    }
    if (options.device.empty() != options.pty) {
        return invalid("give either --device PATH or --pty");
    }
    if (options.files.empty()) {
        return invalid("no report file given");
    }
    command.kind = SimCommand::Kind::Run;
    return command;
}

std::string simUsage() {
    return "usage: kelvor-sim [options] FILE...\n"
           "Plays report files onto a serial line the way a tester sends them.\n"
           "  --device PATH      play onto this serial device (9600 8N1, raw)\n"
           "  --pty              create a pseudo-terminal (raw, no echo), print\n"
           "                     \"PTY <slave path>\" on stdout and play into it\n"
           "  --wait             before playing, wait for a line on stdin\n"
           "  --step             before each file, wait for a line on stdin\n"
           "  --rate CPS         characters per second, default 960; 0 = no pacing\n"
           "  --pause SEC        pause between files, default 2.0\n"
           "  --bursts N         split each file into N bursts at line ends, default 1\n"
           "  --burst-pause SEC  pause between bursts, default 0.5\n"
           "  --repeat N         play the whole list N times, default 1\n"
           "  --hold SEC         keep the line open this long after the last byte,\n"
           "                     default 2.0\n"
           "  --help             show this text\n"
           "Prints DONE when finished. Exit codes: 0 played and read, 1 a file or the line\n"
           "failed or bytes were lost because nobody read them, 2 bad options.\n";
}

} // namespace kelvor
