#include "host/app/HostErrors.h"

namespace kelvor::host {

xl::HostError hostError(int number, const std::string& description) {
    return xl::HostError(number, HostSource, description);
}

xl::HostError subscriptError() {
    return hostError(9, "Subscript out of range");
}

xl::HostError objectError() {
    return hostError(1004, "Application-defined or object-defined error");
}

xl::HostError methodError(const std::string& description) {
    return hostError(1004, description);
}

xl::HostError nameTakenError() {
    return hostError(1004, "That name is already taken. Try a different one.");
}

xl::HostError unsupportedError() {
    return hostError(438, "Object doesn't support this property or method");
}

xl::HostError nothingActiveError() {
    return hostError(91, "Object variable or With block variable not set");
}

xl::HostError disconnectedError() {
    return hostError(-2147417848,
                     "Automation error\nThe object invoked has disconnected from its clients.");
}

xl::HostError applicationGoneError() {
    return hostError(-2147023174, "The RPC server is unavailable.");
}

} // namespace kelvor::host
