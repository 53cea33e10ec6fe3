#pragma once

#include "platform/SerialPort.h"

#include <QSerialPort>

#include <functional>
#include <string>

namespace kelvor {

// A numbered serial port over Qt Serial Port. The port number becomes a device name through
// the given mapping (the settings file's port section, or the platform default).
class QtSerialPort final : public SerialPort {
public:
    using DeviceForPort = std::function<std::string(int)>;
    explicit QtSerialPort(DeviceForPort deviceForPort);

    void setCommPort(std::int16_t port) override;
    void setSettings(const std::string& settings) override;
    void setHandshaking(int mode) override;
    void setPortOpen(bool open) override;
    bool portOpen() const override;
    int inBufferCount() override;
    std::string input() override;

private:
    void open();
    void releaseIfGone();
    void failIfLost();

    DeviceForPort deviceForPort_;
    QSerialPort port_;
    std::int16_t commPort_ = 1;
    std::string settings_ = "9600,N,8,1";
    int handshaking_ = 0;
};

} // namespace kelvor
