#pragma once

#include <chrono>
#include <string>

namespace kelvor::test {

// Reads from `fd` until `want` bytes have come, the end of input or `timeout`, whichever is
// first; `ended` tells whether the input ended. Waits with poll(), so nothing waits longer
// than the data takes to arrive.
std::string readFor(int fd, std::size_t want, std::chrono::milliseconds timeout,
                    bool* ended = nullptr);

std::string readFile(const std::string& path);

// Writes `bytes` to a file of this test process's own (tests may run side by side) and
// returns its path.
std::string writeTempFile(const std::string& name, const std::string& bytes);

// Every byte value and the line ends a tester sends, mixed: what a line must carry unchanged.
std::string awkwardBytes();

} // namespace kelvor::test
