#include "platform/PlatformConfig.h"

namespace kelvor {

// Replaces posix/DefaultDevice.cpp in a Windows build.
std::string defaultDeviceForPort(int port) {
    return port < 1 ? std::string() : "COM" + std::to_string(port);
}

} // namespace kelvor
