#pragma once

#include "platform/SerialPort.h"

#include <functional>
#include <memory>
#include <string>

namespace kelvor {

// The device name behind a port number (the settings file's port section, or the default).
using DeviceForPort = std::function<std::string(int)>;

// The serial port of this operating system, polled: a terminal device on POSIX systems, a Win32
// COM port on Windows.
std::unique_ptr<SerialPort> makeSystemSerialPort(DeviceForPort deviceForPort);

} // namespace kelvor
