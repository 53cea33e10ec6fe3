#include "platform/posix/PosixSerialPort.h"

#include "platform/LineSettings.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <system_error>
#include <utility>

namespace kelvor {
namespace {

constexpr std::size_t ReadChunkBytes = 16384;

std::string systemMessage(int error) {
    return std::system_category().message(error);
}

speed_t speedOf(int baudRate) {
    switch (baudRate) {
    case 110:
        return B110;
    case 300:
        return B300;
    case 600:
        return B600;
    case 1200:
        return B1200;
    case 2400:
        return B2400;
    case 4800:
        return B4800;
    case 19200:
        return B19200;
    case 38400:
        return B38400;
    case 57600:
        return B57600;
    case 115200:
        return B115200;
    default:
        return B9600;
    }
}

tcflag_t dataBitsOf(int bits) {
    switch (bits) {
    case 5:
        return CS5;
    case 6:
        return CS6;
    case 7:
        return CS7;
    default:
        return CS8;
    }
}

// Raw bytes, reads that return at once with whatever has arrived, and handshaking as the
// control numbers it (0 none, 1 XON/XOFF, 2 RTS/CTS, 3 both).
bool setUpLine(int fd, const LineSettings& line, int handshaking) {
    termios tio{};
    if (tcgetattr(fd, &tio) != 0) {
        return false;
    }
    cfmakeraw(&tio);
    tio.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS);
    tio.c_cflag |= CLOCAL | CREAD | dataBitsOf(line.dataBits);
    if (line.parity != 'N') {
        tio.c_cflag |= PARENB;
        tio.c_iflag |= INPCK;
    }
    if (line.parity == 'O' || line.parity == 'M') {
        tio.c_cflag |= PARODD;
    }
    if (line.parity == 'M' || line.parity == 'S') {
        tio.c_cflag |= CMSPAR;
    }
    if (line.stopBits > 1) {
        tio.c_cflag |= CSTOPB;
    }
    if (handshaking == 2 || handshaking == 3) {
        tio.c_cflag |= CRTSCTS;
    }
    if (handshaking == 1 || handshaking == 3) {
        tio.c_iflag |= IXON | IXOFF;
    }
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;
    const speed_t speed = speedOf(line.baudRate);
    return cfsetispeed(&tio, speed) == 0 && cfsetospeed(&tio, speed) == 0 &&
           tcsetattr(fd, TCSANOW, &tio) == 0;
}

bool deviceIsMissing(int error) {
    return error == ENOENT || error == ENOTDIR || error == ENXIO || error == ENODEV ||
           error == ENAMETOOLONG || error == ELOOP;
}

} // namespace

PosixSerialPort::PosixSerialPort(DeviceForPort deviceForPort)
    : NumberedSerialPort(std::move(deviceForPort)) {}

PosixSerialPort::~PosixSerialPort() {
    close();
}

void PosixSerialPort::open() {
    if (fd_ >= 0) {
        return; // opening a port that is open already changes nothing
    }
    const std::string device = this->device();
    const int fd = ::open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        const int error = errno;
        const std::string why = " (" + device + ": " + systemMessage(error) + ")";
        if (deviceIsMissing(error)) {
            throw CommError(ErrInvalidPortNumber, "Invalid Port Number" + why);
        }
        if (error == EBUSY) {
            throw CommError(ErrPortAlreadyOpen, "Port already open" + why);
        }
        throw CommError(ErrPortNotAvailable, "The port is not available" + why);
    }
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        ::close(fd);
        if (error == EWOULDBLOCK) {
            throw CommError(ErrPortAlreadyOpen,
                            "Port already open (" + device + ": in use by another reader)");
        }
        throw CommError(ErrPortNotAvailable,
                        "The port is not available (" + device + ": " + systemMessage(error) + ")");
    }
    if (!isatty(fd) || !setUpLine(fd, lineSettings(), handshaking())) {
        const int error = errno;
        ::close(fd);
        throw CommError(ErrPortNotAvailable, "The port is not available (" + device +
                                                 " is not a serial port: " + systemMessage(error) +
                                                 ")");
    }
    fd_ = fd;
    device_ = device;
    pending_.clear();
    gone_.clear();
}

void PosixSerialPort::close() {
    if (fd_ >= 0) {
        ::close(fd_); // drops the lock with it
        fd_ = -1;
    }
    pending_.clear();
    gone_.clear();
}

void PosixSerialPort::setPortOpen(bool open) {
    if (open) {
        this->open();
    } else {
        close();
    }
}

bool PosixSerialPort::portOpen() const {
    return fd_ >= 0;
}

// A device that went away (an adapter pulled out, the far end of a pseudo-terminal closed)
// shows itself as a read error (EIO, ENXIO) or as the end of input with a hang-up. What it
// sent before is still handed out first; then the port lets the device go and reads closed.
void PosixSerialPort::takeWaiting() {
    if (fd_ < 0) {
        throw CommError(ErrPortNotOpen, "Port is not open");
    }
    if (gone_.empty()) {
        pollfd watched{fd_, POLLIN, 0};
        const bool hungUp =
            ::poll(&watched, 1, 0) > 0 && (watched.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0;
        for (;;) {
            int waiting = 0;
            if (ioctl(fd_, FIONREAD, &waiting) != 0) {
                waiting = 0;
            }
            std::string chunk(waiting > 0 ? std::min<std::size_t>(waiting, ReadChunkBytes) : 1,
                              '\0');
            const ssize_t got = ::read(fd_, chunk.data(), chunk.size());
            if (got > 0) {
                pending_.append(chunk.data(), static_cast<std::size_t>(got));
                continue;
            }
            if (got < 0 && errno == EINTR) {
                continue;
            }
            if (got < 0 && errno != EAGAIN) {
                gone_ = systemMessage(errno);
            } else if (got == 0 && hungUp) {
                gone_ = "the line hung up";
            }
            break;
        }
    }
    if (!gone_.empty() && pending_.empty()) {
        const std::string why = "The device was removed (" + device_ + ": " + gone_ + ")";
        close();
        throw CommError(ErrPortNotAvailable, why);
    }
}

int PosixSerialPort::inBufferCount() {
    takeWaiting();
    return pending_.size() > INT_MAX ? INT_MAX : static_cast<int>(pending_.size());
}

std::string PosixSerialPort::input() {
    takeWaiting();
    return std::exchange(pending_, {});
}

} // namespace kelvor
