#pragma once

#include "platform/LineSettings.h"
#include "platform/SerialPort.h"

#include <functional>
#include <string>

namespace kelvor {

// What the port control's properties hold, for the system ports: the port number with the
// device behind it, the settings text and the handshaking mode. Checked as the control checks
// them; they apply at the next open.
class NumberedSerialPort : public SerialPort {
public:
    using DeviceForPort = std::function<std::string(int)>;
    explicit NumberedSerialPort(DeviceForPort deviceForPort);

    void setCommPort(std::int16_t port) override;
    void setSettings(const std::string& settings) override;
    void setHandshaking(int mode) override;

protected:
    // The device the port number names; none is "Invalid Port Number".
    std::string device() const;
    LineSettings lineSettings() const { return parseLineSettings(settings_); }
    int handshaking() const { return handshaking_; }

private:
    DeviceForPort deviceForPort_;
    std::int16_t commPort_ = 1;
    std::string settings_ = "9600,N,8,1";
    int handshaking_ = 0;
};

} // namespace kelvor
