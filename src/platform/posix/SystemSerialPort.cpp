#include "platform/SystemSerialPort.h"

#include "platform/posix/PosixSerialPort.h"

namespace kelvor {

std::unique_ptr<SerialPort> makeSystemSerialPort(DeviceForPort deviceForPort) {
    return std::make_unique<PosixSerialPort>(std::move(deviceForPort));
}

} // namespace kelvor
