#include "platform/NumberedSerialPort.h"

#include <utility>

namespace kelvor {

NumberedSerialPort::NumberedSerialPort(DeviceForPort deviceForPort)
    : deviceForPort_(std::move(deviceForPort)) {}

void NumberedSerialPort::setCommPort(std::int16_t port) {
    if (portOpen()) {
        throw CommError(ErrPortAlreadyOpen, "Port already open");
    }
    if (port < 1) {
        throw CommError(ErrInvalidPortNumber, "Invalid Port Number");
    }
    commPort_ = port;
}

void NumberedSerialPort::setSettings(const std::string& settings) {
    parseLineSettings(settings);
    settings_ = settings;
}

void NumberedSerialPort::setHandshaking(int mode) {
    if (mode < 0 || mode > 3) {
        throw CommError(ErrInvalidPropertyValue, "Invalid property value");
    }
    handshaking_ = mode;
}

std::string NumberedSerialPort::device() const {
    std::string name = deviceForPort_ ? deviceForPort_(commPort_) : std::string();
    if (name.empty()) {
        throw CommError(ErrInvalidPortNumber, "Invalid Port Number");
    }
    return name;
}

} // namespace kelvor
