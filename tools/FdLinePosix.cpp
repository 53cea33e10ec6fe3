#include "FdLine.h"

#include "TerminalHolders.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/ioctl.h>
#include <system_error>
#include <termios.h>
#include <unistd.h>
#include <vector>

namespace kelvor {

namespace {

[[noreturn]] void throwErrno(const std::string& what) {
    throw std::system_error(errno, std::generic_category(), what);
}

void makeRaw(int fd, const std::string& what) {
    termios tio{};
    if (::tcgetattr(fd, &tio) != 0) {
        throwErrno(what);
    }
    ::cfmakeraw(&tio);
    tio.c_cflag &= ~static_cast<tcflag_t>(PARENB | CSTOPB | CSIZE | CRTSCTS);
    tio.c_cflag |= CS8 | CLOCAL | CREAD;
    if (::cfsetispeed(&tio, B9600) != 0 || ::cfsetospeed(&tio, B9600) != 0 ||
        ::tcsetattr(fd, TCSANOW, &tio) != 0) {
        throwErrno(what);
    }
}

void setNonBlocking(int fd, const std::string& what) {
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags < 0 || ::fcntl(fd, F_SETFL, flags | O_NONBLOCK) != 0) {
        throwErrno(what);
    }
}

void setCloseOnExec(int fd, const std::string& what) {
    if (::fcntl(fd, F_SETFD, FD_CLOEXEC) != 0) {
        throwErrno(what);
    }
}

} // namespace

UniqueFd& UniqueFd::operator=(UniqueFd&& other) noexcept {
    if (this != &other) {
        if (fd_ >= 0) {
            ::close(fd_);
        }
        fd_ = std::exchange(other.fd_, -1);
    }
    return *this;
}

UniqueFd::~UniqueFd() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

FdLine::FdLine(UniqueFd out, UniqueFd keepAlive, std::string path)
    : out_(std::move(out)), keepAlive_(std::move(keepAlive)), path_(std::move(path)) {}

FdLine FdLine::openPty() {
    return openPty(heldByAnotherProcess);
}

FdLine FdLine::openPty(const std::function<bool(const std::string&)>& heldElsewhere) {
    constexpr int MaxTries = 16;
    // Pairs someone else holds stay open here until a free one is found, so that the system
    // does not hand the same number out again.
    std::vector<UniqueFd> passedBy;
    for (int attempt = 1;; ++attempt) {
        int masterFd = -1;
        int slaveFd = -1;
        if (::openpty(&masterFd, &slaveFd, nullptr, nullptr, nullptr) != 0) {
            throwErrno("cannot create a pseudo-terminal");
        }
        UniqueFd master(masterFd);
        UniqueFd slave(slaveFd);
        char name[256];
        if (const int error = ::ttyname_r(slave.get(), name, sizeof name); error != 0) {
            throw std::system_error(error, std::generic_category(),
                                    "cannot name the pseudo-terminal");
        }
        if (attempt < MaxTries && heldElsewhere(name)) {
            passedBy.push_back(std::move(master));
            passedBy.push_back(std::move(slave));
            continue;
        }
        return setUpPty(std::move(master), std::move(slave), name);
    }
}

FdLine FdLine::setUpPty(UniqueFd master, UniqueFd slave, const std::string& name) {
    const std::string what = "cannot set up " + name;
    setCloseOnExec(master.get(), what);
    setCloseOnExec(slave.get(), what);
    makeRaw(slave.get(), what);
    setNonBlocking(master.get(), what);
    return FdLine(std::move(master), std::move(slave), name);
}

FdLine FdLine::openDevice(const std::string& path) {
    UniqueFd fd(::open(path.c_str(), O_WRONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC));
    if (!fd) {
        throwErrno("cannot open " + path);
    }
    if (::isatty(fd.get())) {
        makeRaw(fd.get(), "cannot set up " + path);
    }
    return FdLine(std::move(fd), UniqueFd(), path);
}

std::size_t FdLine::writeSome(std::string_view bytes) {
    if (bytes.empty()) {
        return 0;
    }
    for (;;) {
        const ssize_t n = ::write(out_.get(), bytes.data(), bytes.size());
        if (n >= 0) {
            return static_cast<std::size_t>(n);
        }
        if (errno == EAGAIN || errno == EWOULDBLOCK) {
            return 0;
        }
        if (errno != EINTR) {
            throwErrno("cannot write to " + path_);
        }
    }
}

bool FdLine::waitWritable(std::chrono::milliseconds timeout) {
    // A pty master is not always woken when room frees up inside the kernel, so look again
    // every few milliseconds rather than trusting one long wait.
    const auto slice = std::clamp<std::chrono::milliseconds::rep>(timeout.count(), 0, 20);
    for (;;) {
        pollfd pfd{out_.get(), POLLOUT, 0};
        const int ready = ::poll(&pfd, 1, static_cast<int>(slice));
        if (ready >= 0) {
            // An error or hang-up also ends the wait: the next write reports it.
            return ready > 0;
        }
        if (errno != EINTR) {
            throwErrno("cannot wait for " + path_);
        }
    }
}

std::size_t FdLine::unreadBytes() const {
    int count = 0;
    if (keepAlive_) {
        // Bytes written a moment ago may still be on their way to the slave's queue.
        pollfd pfd{keepAlive_.get(), POLLIN, 0};
        if (::poll(&pfd, 1, 100) <= 0 || ::ioctl(keepAlive_.get(), TIOCINQ, &count) != 0) {
            return 0;
        }
    } else if (::ioctl(out_.get(), TIOCOUTQ, &count) != 0) {
        return 0;
    }
    return count > 0 ? static_cast<std::size_t>(count) : 0;
}

} // namespace kelvor
