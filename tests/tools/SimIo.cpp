#include "SimIo.h"

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <poll.h>
#include <unistd.h>

namespace kelvor::test {

std::string readFor(int fd, std::size_t want, std::chrono::milliseconds timeout, bool* ended) {
    std::string got;
    if (ended != nullptr) {
        *ended = false;
    }
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (got.size() < want) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            break;
        }
        pollfd pfd{fd, POLLIN, 0};
        const int ready = ::poll(&pfd, 1, static_cast<int>(left.count()));
        if (ready < 0 && errno == EINTR) {
            continue;
        }
        if (ready <= 0) {
            break;
        }
        char buffer[4096];
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n > 0) {
            got.append(buffer, static_cast<std::size_t>(n));
        } else if (n == 0 || errno != EINTR) {
            if (ended != nullptr) {
                *ended = true;
            }
            break;
        }
    }
    return got;
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::string writeTempFile(const std::string& name, const std::string& bytes) {
    const auto path = std::filesystem::temp_directory_path() /
                      ("kelvor-sim-test-" + std::to_string(::getpid()) + "-" + name);
    std::ofstream(path, std::ios::binary) << bytes;
    return path.string();
}

std::string awkwardBytes() {
    std::string bytes;
    for (int c = 0; c < 256; ++c) {
        bytes += static_cast<char>(c);
    }
    // Lone CR, lone LF and CR LF must all arrive as sent.
    bytes += "\r\n\r\rCONSTANT RATE TEST DATA\r\n\n\x03\x04\x11\x13\x1a\x7f\xff\r\n";
    return bytes;
}

} // namespace kelvor::test
