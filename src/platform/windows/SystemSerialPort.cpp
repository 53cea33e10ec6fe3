#include "platform/SystemSerialPort.h"

#include "platform/windows/Win32SerialPort.h"

namespace kelvor {

std::unique_ptr<SerialPort> makeSystemSerialPort(DeviceForPort deviceForPort) {
    return std::make_unique<Win32SerialPort>(std::move(deviceForPort));
}

} // namespace kelvor
