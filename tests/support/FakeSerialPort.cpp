#include "FakeSerialPort.h"

#include <climits>
#include <utility>

namespace kelvor {

void FakeSerialPort::failOpen(int times, int number, const std::string& description) {
    openFailures_ = times;
    openError_ = CommError(number, description);
}

void FakeSerialPort::vanish() {
    vanished_ = true;
}

void FakeSerialPort::breakReads(int number, const std::string& description) {
    readError_ = CommError(number, description);
}

void FakeSerialPort::setCommPort(std::int16_t port) {
    log.push_back("port " + std::to_string(port));
}

void FakeSerialPort::setSettings(const std::string& settings) {
    log.push_back("settings " + settings);
}

void FakeSerialPort::setHandshaking(int mode) {
    log.push_back("handshaking " + std::to_string(mode));
}

void FakeSerialPort::setPortOpen(bool open) {
    log.push_back(open ? "open" : "close");
    if (!open) {
        open_ = false;
        return;
    }
    if (open_) {
        throw CommError(8005, "Port already open");
    }
    if (openFailures_ > 0) {
        --openFailures_;
        throw *openError_;
    }
    if (vanished_) {
        throw CommError(8010, "The specified port is not available");
    }
    open_ = true;
}

int FakeSerialPort::inBufferCount() {
    ++countReads;
    if (readError_) {
        throw *readError_;
    }
    if (!portOpen()) {
        throw CommError(8012, "The device is not open");
    }
    return buffer_.size() > INT_MAX ? INT_MAX : static_cast<int>(buffer_.size());
}

std::string FakeSerialPort::input() {
    ++inputReads;
    if (readError_) {
        throw *readError_;
    }
    if (!portOpen()) {
        throw CommError(8012, "The device is not open");
    }
    return std::exchange(buffer_, {});
}

} // namespace kelvor
