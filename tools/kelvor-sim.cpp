// kelvor-sim: stands in for the testers by playing report files onto a serial line.

#include "FdLine.h"
#include "ReportPlayer.h"
#include "SimOptions.h"

#include <csignal>
#include <exception>
#include <iostream>
#include <string>
#include <vector>

namespace {

int run(const kelvor::SimOptions& options) {
    using namespace kelvor;
    std::vector<ReportFile> files;
    try {
        for (const std::string& path : options.files) {
            files.push_back(loadReportFile(path));
        }
    } catch (const std::exception& error) {
        std::cerr << "kelvor-sim: " << error.what() << '\n';
        return 1;
    }

    PlayResult result;
    std::size_t unread = 0;
    try {
        FdLine line = options.pty ? FdLine::openPty() : FdLine::openDevice(options.device);
        if (options.pty) {
            std::cout << "PTY " << line.path() << std::endl;
        }
        // End of input counts as the go-ahead too.
        const auto waitForLine = [] {
            std::string ignored;
            std::getline(std::cin, ignored);
        };
        SteadyPlayClock clock;
        ReportPlayer player(clock, line, options.play);
        if (options.stepByLine) {
            for (const ReportFile& file : files) {
                waitForLine();
                const PlayResult played = player.play({file});
                result.sent += played.sent;
                result.dropped += played.dropped;
            }
        } else {
            if (options.waitForLine) {
                waitForLine();
            }
            result = player.play(files);
        }
        unread = line.unreadBytes();
    } catch (const std::exception& error) {
        std::cerr << "kelvor-sim: " << error.what() << '\n';
        std::cout << "DONE" << std::endl;
        return 1;
    }
    std::cout << "DONE" << std::endl;
    if (result.dropped > 0) {
        std::cerr << "kelvor-sim: " << result.dropped << " of " << result.sent + result.dropped
                  << " bytes were dropped: nobody read the line\n";
    }
    if (unread > 0) {
        std::cerr << "kelvor-sim: at least " << unread
                  << " bytes were still unread when the line closed\n";
    }
    return result.dropped > 0 || unread > 0 ? 1 : 0;
}

} // namespace

int main(int argc, char** argv) {
#ifdef SIGPIPE
    // A caller that stops reading our output must not kill us mid-write.
    std::signal(SIGPIPE, SIG_IGN);
#endif
    const kelvor::SimCommand command =
        kelvor::parseSimCommand(std::vector<std::string>(argv + 1, argv + argc));
    switch (command.kind) {
    case kelvor::SimCommand::Kind::Help:
        std::cout << kelvor::simUsage();
        return 0;
    case kelvor::SimCommand::Kind::Invalid:
        std::cerr << "kelvor-sim: " << command.error << '\n' << kelvor::simUsage();
        return 2;
    case kelvor::SimCommand::Kind::Run:
        break;
    }
    return run(command.options);
}
