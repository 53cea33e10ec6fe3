#pragma once

#include "platform/SerialPort.h"

#include <functional>
#include <string>

namespace kelvor {

// A numbered serial port over a POSIX terminal device, polled like the Win32 port: each call
// of inBufferCount() takes what the driver holds. Readers keep out of each other's way with
// an advisory lock on the device (flock), which the system drops when the process ends,
// however it ends; no lock files and no exclusive-use flag are left behind for a next run.
class PosixSerialPort final : public SerialPort {
public:
    using DeviceForPort = std::function<std::string(int)>;
    explicit PosixSerialPort(DeviceForPort deviceForPort);
    ~PosixSerialPort() override;
    PosixSerialPort(const PosixSerialPort&) = delete;
    PosixSerialPort& operator=(const PosixSerialPort&) = delete;

    void setCommPort(std::int16_t port) override;
    void setSettings(const std::string& settings) override;
    void setHandshaking(int mode) override;
    void setPortOpen(bool open) override;
    bool portOpen() const override;
    int inBufferCount() override;
    std::string input() override;

private:
    void open();
    void close();
    // Moves what the driver holds into pending_; notes in gone_ that the device went away.
    void takeWaiting();

    DeviceForPort deviceForPort_;
    int fd_ = -1;
    std::string device_;
    std::string pending_;
    std::string gone_; // why the device is gone, once what came before it has been read
    std::int16_t commPort_ = 1;
    std::string settings_ = "9600,N,8,1";
    int handshaking_ = 0;
};

} // namespace kelvor
