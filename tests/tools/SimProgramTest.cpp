// Runs the kelvor-sim executable the way a caller does: command line, stdin, stdout,
// stderr and exit code.

#include "FdLine.h"
#include "SimIo.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <pty.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace kelvor {
namespace {

using namespace std::chrono_literals;

const std::string samples = std::string(KELVOR_SOURCE_DIR) + "/samples/";

class SimProcess {
public:
    explicit SimProcess(const std::vector<std::string>& args) {
        int inPipe[2], outPipe[2], errPipe[2];
        if (::pipe2(inPipe, O_CLOEXEC) != 0 || ::pipe2(outPipe, O_CLOEXEC) != 0 ||
            ::pipe2(errPipe, O_CLOEXEC) != 0) {
            throw std::runtime_error("pipe");
        }
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, inPipe[0], 0);
        posix_spawn_file_actions_adddup2(&actions, outPipe[1], 1);
        posix_spawn_file_actions_adddup2(&actions, errPipe[1], 2);
        const std::string program = std::string(KELVOR_BINARY_DIR) + "/kelvor-sim";
        std::vector<char*> argv{const_cast<char*>(program.c_str())};
        for (const std::string& arg : args) {
            argv.push_back(const_cast<char*>(arg.c_str()));
        }
        argv.push_back(nullptr);
        const int spawned =
            ::posix_spawn(&pid_, program.c_str(), &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        ::close(inPipe[0]);
        ::close(outPipe[1]);
        ::close(errPipe[1]);
        stdin_ = UniqueFd(inPipe[1]);
        stdout_ = UniqueFd(outPipe[0]);
        stderr_ = UniqueFd(errPipe[0]);
        if (spawned != 0) {
            throw std::runtime_error("cannot start " + program);
        }
    }

    ~SimProcess() {
        if (pid_ > 0) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
    }

    std::string readLine(std::chrono::milliseconds timeout) {
        std::string line;
        while (!line.ends_with('\n')) {
            const std::string c = test::readFor(stdout_.get(), 1, timeout);
            if (c.empty()) {
                break;
            }
            out += c;
            line += c;
        }
        return line;
    }

    void send(const std::string& text) {
        EXPECT_EQ(::write(stdin_.get(), text.data(), text.size()),
                  static_cast<ssize_t>(text.size()));
    }

    // Collects the rest of stdout and stderr and the exit code.
    int finish(std::chrono::milliseconds timeout) {
        stdin_ = UniqueFd();
        bool ended = false;
        out += test::readFor(stdout_.get(), static_cast<std::size_t>(-1), timeout, &ended);
        if (!ended) {
            return -1; // still running: the destructor ends it
        }
        err += test::readFor(stderr_.get(), static_cast<std::size_t>(-1), timeout);
        int status = 0;
        if (::waitpid(pid_, &status, 0) != pid_) {
            return -1;
        }
        pid_ = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    std::string out;
    std::string err;

private:
    pid_t pid_ = -1;
    UniqueFd stdin_, stdout_, stderr_;
};

TEST(SimProgram, PlaysFilesByteForByteOntoASerialDeviceAndSaysDone) {
    // A pty stands in for a serial cable: the simulator writes its slave, the test reads the
    // master. The slave starts in cooked mode, so a missing raw set-up would alter bytes.
    int master = -1, slave = -1;
    ASSERT_EQ(::openpty(&master, &slave, nullptr, nullptr, nullptr), 0);
    UniqueFd masterFd(master), slaveFd(slave);
    const std::string device = ::ttyname(slave);
    const std::string awkwardPath = test::writeTempFile("awkward.bin", test::awkwardBytes());
    const std::string rate = samples + "rate-bottle-topload-kgf-mm-300.txt";
    const std::string load = samples + "load-stack-creep-lbf-in.txt";
    const std::string expected = test::readFile(rate) + test::awkwardBytes() + test::readFile(load);

    SimProcess sim({"--device", device, "--rate", "0", "--pause", "0", "--hold", "0", "--bursts",
                    "2", "--burst-pause", "0", rate, awkwardPath, load});
    const std::string got = test::readFor(masterFd.get(), expected.size(), 20s);
    EXPECT_EQ(sim.finish(20s), 0) << sim.err;
    EXPECT_EQ(sim.out, "DONE\n");
    ASSERT_EQ(got.size(), expected.size());
    EXPECT_TRUE(got == expected);
    std::remove(awkwardPath.c_str());
}

TEST(SimProgram, OffersAPtyWaitsForTheGoAheadAndReportsBytesNobodyRead) {
    const std::string file = samples + "rate-shipper-lbf-in-50.txt";
    SimProcess sim({"--pty", "--wait", "--rate", "0", "--hold", "0", file});
    const std::string line = sim.readLine(10s);
    ASSERT_TRUE(line.starts_with("PTY /")) << line;
    const std::string path = line.substr(4, line.size() - 5);
    EXPECT_TRUE(std::filesystem::is_character_file(path)) << path;
    sim.send("\n");
    EXPECT_EQ(sim.finish(20s), 1);
    EXPECT_TRUE(sim.out.ends_with("DONE\n")) << sim.out;
    EXPECT_NE(sim.err.find("unread"), std::string::npos) << sim.err;
}

TEST(SimProgram, BadOptionsGiveUsageAndExitCode2) {
    SimProcess sim({"--pty", "--rate", "fast", "x.txt"});
    EXPECT_EQ(sim.finish(10s), 2);
    EXPECT_NE(sim.err.find("--rate"), std::string::npos) << sim.err;
    EXPECT_NE(sim.err.find("usage: kelvor-sim"), std::string::npos) << sim.err;
    EXPECT_EQ(sim.out, "");

    SimProcess help({"--help"});
    EXPECT_EQ(help.finish(10s), 0);
    EXPECT_NE(help.out.find("usage: kelvor-sim"), std::string::npos);
}

TEST(SimProgram, AMissingFileIsNamedBeforeAnyLineIsOpened) {
    const std::string missing = samples + "no-such-report.txt";
    SimProcess sim({"--pty", samples + "rate-shipper-lbf-in-50.txt", missing});
    EXPECT_EQ(sim.finish(10s), 1);
    EXPECT_NE(sim.err.find(missing), std::string::npos) << sim.err;
    EXPECT_EQ(sim.out, "");
}

} // namespace
} // namespace kelvor
