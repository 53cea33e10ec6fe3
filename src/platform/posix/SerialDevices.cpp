#include "platform/posix/PosixSerialDevices.h"

#include <algorithm>
#include <charconv>
#include <system_error>

namespace kelvor {
namespace {

namespace fs = std::filesystem;

// The number a name ends in ("ttyUSB10" → 10), so that ttyUSB2 comes before ttyUSB10.
int trailingNumber(const std::string& name) {
    const auto digits = name.find_last_not_of("0123456789") + 1;
    int number = -1;
    std::from_chars(name.data() + digits, name.data() + name.size(), number);
    return number;
}

// The names in a folder that start with the prefix and go on with a number, in number order.
std::vector<std::string> numberedEntries(const fs::path& folder, const std::string& prefix) {
    std::vector<std::string> names;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        const std::string name = it->path().filename().string();
        if (name.size() > prefix.size() && name.starts_with(prefix) &&
            name.find_first_not_of("0123456789", prefix.size()) == std::string::npos) {
            names.push_back(name);
        }
    }
    std::ranges::sort(names, {}, trailingNumber);
    return names;
}

// Where a link leads now, as a device name ("ttyUSB1"); "" for a link that leads nowhere.
std::string linkTarget(const fs::path& link) {
    std::error_code error;
    const fs::path target = fs::read_symlink(link, error);
    if (error) {
        return {};
    }
    const fs::path resolved =
        (target.is_absolute() ? target : link.parent_path() / target).lexically_normal();
    return fs::exists(resolved, error) ? resolved.filename().string() : std::string();
}

} // namespace

std::vector<SerialDevice> serialDevicesUnder(const fs::path& devRoot, const fs::path& sysRoot) {
    std::vector<SerialDevice> devices;
    // The names under by-id are made from the adapter's maker, model and serial number, so
    // they stay with the adapter whichever order the adapters are plugged in.
    const fs::path byId = devRoot / "serial" / "by-id";
    std::vector<std::string> links;
    std::error_code error;
    for (fs::directory_iterator it(byId, error), end; !error && it != end; it.increment(error)) {
        links.push_back(it->path().filename().string());
    }
    std::ranges::sort(links);
    for (const std::string& link : links) {
        const std::string target = linkTarget(byId / link);
        if (!target.empty()) {
            const std::string name = (byId / link).string();
            devices.push_back({name, name + " (" + target + ")"});
        }
    }
    for (const char* prefix : {"ttyUSB", "ttyACM"}) {
        for (const std::string& name : numberedEntries(devRoot, prefix)) {
            const std::string path = (devRoot / name).string();
            devices.push_back({path, path});
        }
    }
    // Every ttyS the kernel reserves exists in /dev; only those with hardware behind them are
    // lines one could wire a tester to. The lines the 8250 driver merely keeps in reserve lead
    // to its placeholder device.
    for (const std::string& name : numberedEntries(devRoot, "ttyS")) {
        const fs::path device = sysRoot / "class" / "tty" / name / "device";
        if (fs::exists(device, error) &&
            fs::read_symlink(device, error).filename() != "serial8250") {
            const std::string path = (devRoot / name).string();
            devices.push_back({path, path});
        }
    }
    return devices;
}

std::vector<SerialDevice> presentSerialDevices() {
    return serialDevicesUnder("/dev", "/sys");
}

} // namespace kelvor
