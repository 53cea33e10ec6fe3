// The terminal port over pseudo-terminals: the master side plays the tester (or the adapter
// being pulled out).
#include "platform/posix/PosixSerialPort.h"
#include "platform/LineSettings.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <string>

namespace kelvor {
namespace {

class Pty {
public:
    Pty() {
        master_ = posix_openpt(O_RDWR | O_NOCTTY);
        if (master_ >= 0 && grantpt(master_) == 0 && unlockpt(master_) == 0) {
            device_ = ptsname(master_);
        }
    }
    ~Pty() { closeMaster(); }
    Pty(const Pty&) = delete;
    Pty& operator=(const Pty&) = delete;

    const std::string& device() const { return device_; }
    void write(const std::string& bytes) const {
        ASSERT_EQ(::write(master_, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    }
    void closeMaster() {
        if (master_ >= 0) {
            ::close(master_);
            master_ = -1;
        }
    }

private:
    int master_ = -1;
    std::string device_;
};

// Bytes written to a master reach the terminal through the kernel's queue, a moment later.
bool waitUntil(const std::function<bool()>& done) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        ::poll(nullptr, 0, 1);
    }
    return true;
}

class PosixSerialPortTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_FALSE(pty.device().empty()); }

    PosixSerialPort portOn(const std::string& device) {
        return PosixSerialPort([device](int number) { return number == 3 ? device : ""; });
    }
    static void open(PosixSerialPort& port) {
        port.setCommPort(3);
        port.setSettings("9600,N,8,1");
        port.setHandshaking(2);
        port.setPortOpen(true);
    }
    static int errorOfOpen(PosixSerialPort& port, std::string* description = nullptr) {
        try {
            open(port);
        } catch (const CommError& error) {
            if (description != nullptr) {
                *description = error.description();
            }
            return error.number();
        }
        return 0;
    }

    Pty pty;
};

TEST_F(PosixSerialPortTest, WaitingBytesAreCountedAndReadRawAndUnchanged) {
    PosixSerialPort port = portOn(pty.device());
    open(port);
    ASSERT_TRUE(port.portOpen());
    EXPECT_EQ(port.inBufferCount(), 0);
    EXPECT_EQ(port.input(), "");

    const std::string bytes("LOAD\r\n\x03\x04\x11\x13\0\xff end", 16);
    pty.write(bytes);
    ASSERT_TRUE(waitUntil([&] { return port.inBufferCount() == 16; }));
    EXPECT_EQ(port.input(), bytes);
    EXPECT_EQ(port.inBufferCount(), 0);

    // The line as the control sets it: raw, 9600 8N1, RTS/CTS.
    const int fd = ::open(pty.device().c_str(), O_RDONLY | O_NOCTTY | O_NONBLOCK);
    ASSERT_GE(fd, 0);
    termios tio{};
    ASSERT_EQ(tcgetattr(fd, &tio), 0);
    ::close(fd);
    EXPECT_EQ(tio.c_lflag & (ICANON | ECHO | ISIG), 0U);
    EXPECT_EQ(tio.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
    EXPECT_NE(tio.c_cflag & CRTSCTS, 0U);
    EXPECT_EQ(tio.c_cflag & (PARENB | CSTOPB), 0U);
    EXPECT_EQ(cfgetispeed(&tio), static_cast<speed_t>(B9600));
}

TEST_F(PosixSerialPortTest, ClosedMasterIsARemovedDeviceAfterWhatItSent) {
    PosixSerialPort port = portOn(pty.device());
    open(port);
    pty.write("last words");
    ASSERT_TRUE(waitUntil([&] { return port.inBufferCount() == 10; }));
    pty.closeMaster();

    EXPECT_EQ(port.input(), "last words");
    int number = 0;
    std::string why;
    ASSERT_TRUE(waitUntil([&] {
        try {
            port.inBufferCount();
        } catch (const CommError& error) {
            number = error.number();
            why = error.description();
            return true;
        }
        return false;
    }));
    EXPECT_EQ(number, ErrPortNotAvailable);
    EXPECT_EQ(why.rfind("The device was removed (" + pty.device() + ": ", 0), 0U) << why;
    EXPECT_FALSE(port.portOpen());
    EXPECT_THROW(port.input(), CommError);
}

TEST_F(PosixSerialPortTest, SecondReaderOfTheSameDeviceIsRefusedUntilTheFirstLetsGo) {
    PosixSerialPort first = portOn(pty.device());
    PosixSerialPort second = portOn(pty.device());
    open(first);

    std::string why;
    EXPECT_EQ(errorOfOpen(second, &why), ErrPortAlreadyOpen);
    EXPECT_EQ(why, "Port already open (" + pty.device() + ": in use by another reader)");
    EXPECT_FALSE(second.portOpen());
    EXPECT_THROW(first.setCommPort(4), CommError); // settings wait for the port to close

    first.setPortOpen(false);
    EXPECT_EQ(errorOfOpen(second), 0);
    EXPECT_TRUE(second.portOpen());
}

TEST_F(PosixSerialPortTest, MissingDeviceOrAFileThatIsNoTerminalIsRefused) {
    const std::string missing = "/nonexistent-kelvor/ttyUSB9";
    PosixSerialPort absent = portOn(missing);
    std::string why;
    EXPECT_EQ(errorOfOpen(absent, &why), ErrInvalidPortNumber);
    EXPECT_EQ(why, "Invalid Port Number (" + missing + ": No such file or directory)");

    PosixSerialPort unmapped = portOn("");
    EXPECT_EQ(errorOfOpen(unmapped, &why), ErrInvalidPortNumber);
    EXPECT_EQ(why, "Invalid Port Number");

    PosixSerialPort notATerminal = portOn("/dev/null");
    EXPECT_EQ(errorOfOpen(notATerminal, &why), ErrPortNotAvailable);
    EXPECT_NE(why.find("/dev/null is not a serial port"), std::string::npos) << why;
    EXPECT_FALSE(notATerminal.portOpen());
}

} // namespace
} // namespace kelvor
