#pragma once

#include "ByteSink.h"

#include <functional>
#include <string>
#include <utility>

namespace kelvor {

// Owns a file descriptor and closes it.
class UniqueFd {
public:
    UniqueFd() = default;
    explicit UniqueFd(int fd) : fd_(fd) {}
    UniqueFd(UniqueFd&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
    UniqueFd& operator=(UniqueFd&& other) noexcept;
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;
    ~UniqueFd();

    int get() const { return fd_; }
    explicit operator bool() const { return fd_ >= 0; }

private:
    int fd_ = -1;
};

// The line the simulator plays onto: a serial device, or the master side of a pseudo-terminal
// whose slave a reader opens. Writes never block.
class FdLine final : public ByteSink {
public:
    // A new pseudo-terminal, raw and without echo. Its slave stays open here too, so the line
    // lives on whether or not (or how often) a reader opens and closes it.
    // A pair that another process already holds open is passed by for a fresh one.
    static FdLine openPty();
    // The same, with the test for other holders given.
    static FdLine openPty(const std::function<bool(const std::string& device)>& heldElsewhere);
    // A serial device set to 9600 baud, 8 data bits, no parity, 1 stop bit, raw, no flow
    // control. Anything that is not a terminal (a file, say) is written as it is.
    static FdLine openDevice(const std::string& path);

    // Path a reader opens: the pty's slave, or the device itself.
    const std::string& path() const { return path_; }

    std::size_t writeSome(std::string_view bytes) override;
    bool waitWritable(std::chrono::milliseconds timeout) override;

    // Bytes still on their way: on a pty those its reader has not taken yet (at least that
    // many; the kernel reports at most one buffer's worth), on a device those not yet sent.
    // They are lost when the line closes.
    std::size_t unreadBytes() const;

private:
    FdLine(UniqueFd out, UniqueFd keepAlive, std::string path);
    static FdLine setUpPty(UniqueFd master, UniqueFd slave, const std::string& name);

    UniqueFd out_;
    UniqueFd keepAlive_;
    std::string path_;
};

} // namespace kelvor
