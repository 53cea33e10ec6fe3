#include "platform/SystemSerialPort.h"

#include "platform/posix/QtSerialPort.h"

namespace kelvor {

std::unique_ptr<SerialPort> makeSystemSerialPort(DeviceForPort deviceForPort) {
    return std::make_unique<QtSerialPort>(std::move(deviceForPort));
}

} // namespace kelvor
