#pragma once

#include <string>
#include <vector>

namespace kelvor {

// A serial device present on this computer, as the setup offers it for a port number.
struct SerialDevice {
    std::string name;  // what the settings file names and the port opens
    std::string label; // what the user reads: the name, and for a link what it leads to now
};

// The serial devices present now, names that stay with their adapter first (on Linux the
// links in /dev/serial/by-id). One definition per operating system.
std::vector<SerialDevice> presentSerialDevices();

} // namespace kelvor
