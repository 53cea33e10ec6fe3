#include "platform/PlatformConfig.h"

namespace kelvor {

// Port 1 is the first serial line, /dev/ttyS0.
std::string defaultDeviceForPort(int port) {
    return port < 1 ? std::string() : "/dev/ttyS" + std::to_string(port - 1);
}

} // namespace kelvor
