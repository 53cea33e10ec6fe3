#include "platform/posix/QtSerialPort.h"

#include "platform/LineSettings.h"

#include <climits>

namespace kelvor {
namespace {

QSerialPort::Parity parityFrom(char letter) {
    switch (letter) {
    case 'E':
        return QSerialPort::EvenParity;
    case 'O':
        return QSerialPort::OddParity;
    case 'M':
        return QSerialPort::MarkParity;
    case 'S':
        return QSerialPort::SpaceParity;
    default:
        return QSerialPort::NoParity;
    }
}

// A device that went away (an adapter pulled out, the far end of a pseudo-terminal closed)
// leaves the port object open but dead: reads fail for good from then on.
bool lineIsGone(const QSerialPort& port) {
    return port.error() == QSerialPort::ResourceError || port.error() == QSerialPort::ReadError;
}

} // namespace

QtSerialPort::QtSerialPort(DeviceForPort deviceForPort)
    : deviceForPort_(std::move(deviceForPort)) {}

void QtSerialPort::setCommPort(std::int16_t port) {
    releaseIfGone();
    if (port_.isOpen()) {
        throw CommError(ErrPortAlreadyOpen, "Port already open");
    }
    if (port < 1) {
        throw CommError(ErrInvalidPortNumber, "Invalid Port Number");
    }
    commPort_ = port;
}

void QtSerialPort::setSettings(const std::string& settings) {
    parseLineSettings(settings);
    settings_ = settings;
}

void QtSerialPort::setHandshaking(int mode) {
    if (mode < 0 || mode > 3) {
        throw CommError(ErrInvalidPropertyValue, "Invalid property value");
    }
    handshaking_ = mode;
}

// A dead port still holds its device (and keeps the event loop busy with its errors): it is
// let go before anything else is done with it.
void QtSerialPort::releaseIfGone() {
    if (port_.isOpen() && lineIsGone(port_)) {
        port_.close();
        port_.clearError();
    }
}

void QtSerialPort::open() {
    releaseIfGone();
    if (port_.isOpen()) {
        return; // opening a port that is open already changes nothing
    }
    const std::string device = deviceForPort_ ? deviceForPort_(commPort_) : std::string();
    if (device.empty()) {
        throw CommError(ErrInvalidPortNumber, "Invalid Port Number");
    }
    const LineSettings line = parseLineSettings(settings_);
    port_.setPortName(QString::fromStdString(device));
    port_.setBaudRate(line.baudRate);
    port_.setParity(parityFrom(line.parity));
    port_.setDataBits(static_cast<QSerialPort::DataBits>(line.dataBits));
    port_.setStopBits(line.stopBits == 2     ? QSerialPort::TwoStop
                      : line.stopBits == 1.5 ? QSerialPort::OneAndHalfStop
                                             : QSerialPort::OneStop);
    port_.setFlowControl(handshaking_ == 2   ? QSerialPort::HardwareControl
                         : handshaking_ == 1 ? QSerialPort::SoftwareControl
                                             : QSerialPort::NoFlowControl);
    if (port_.open(QIODevice::ReadOnly)) {
        return;
    }
    const QSerialPort::SerialPortError error = port_.error();
    const std::string why = port_.errorString().toStdString();
    port_.clearError();
    if (error == QSerialPort::DeviceNotFoundError) {
        throw CommError(ErrInvalidPortNumber, "Invalid Port Number (" + device + ": " + why + ")");
    }
    throw CommError(ErrPortNotAvailable, "The port is not available (" + device + ": " + why + ")");
}

void QtSerialPort::setPortOpen(bool open) {
    if (open) {
        this->open();
    } else if (port_.isOpen()) {
        port_.close();
        port_.clearError();
    }
}

bool QtSerialPort::portOpen() const {
    return port_.isOpen() && !lineIsGone(port_);
}

void QtSerialPort::failIfLost() {
    if (!port_.isOpen()) {
        throw CommError(ErrPortNotOpen, "Port is not open");
    }
    if (port_.error() == QSerialPort::ResourceError) {
        throw CommError(ErrPortNotAvailable,
                        "The device was removed (" + port_.errorString().toStdString() + ")");
    }
}

int QtSerialPort::inBufferCount() {
    failIfLost();
    const qint64 waiting = port_.bytesAvailable();
    return waiting > INT_MAX ? INT_MAX : static_cast<int>(waiting);
}

std::string QtSerialPort::input() {
    failIfLost();
    const QByteArray bytes = port_.readAll();
    return {bytes.constData(), static_cast<std::size_t>(bytes.size())};
}

} // namespace kelvor
