#pragma once

#include "platform/SerialDevices.h"

#include <filesystem>
#include <vector>

namespace kelvor {

// The serial devices under a device folder (normally /dev) and a system folder (normally
// /sys): the links in serial/by-id, each labelled with the device it leads to, then the USB
// adapters (ttyUSB*, ttyACM*), then the built-in lines (ttyS*) that have hardware behind them.
std::vector<SerialDevice> serialDevicesUnder(const std::filesystem::path& devRoot,
                                             const std::filesystem::path& sysRoot);

} // namespace kelvor
