#include "host/app/errors/HostErrors.h"

namespace kelvor {

xl::HostError hostError(int number, const std::string& description) {
    return xl::HostError(number, HostSource, description);
}

xl::HostError subscriptError() {
    return hostError(xl::ErrSubscript, xl::errorDescription(xl::ErrSubscript));
}

xl::HostError objectError() {
    return hostError(xl::ErrApplicationDefined, xl::errorDescription(xl::ErrApplicationDefined));
}

xl::HostError methodError(const std::string& description) {
    return hostError(xl::ErrApplicationDefined, description);
}

xl::HostError nameTakenError() {
    return hostError(xl::ErrApplicationDefined, "That name is already taken. Try a different one.");
}

xl::HostError unsupportedError() {
    return hostError(xl::ErrMemberNotSupported, xl::errorDescription(xl::ErrMemberNotSupported));
}

xl::HostError nothingActiveError() {
    return hostError(xl::ErrObjectNotSet, xl::errorDescription(xl::ErrObjectNotSet));
}

xl::HostError disconnectedError() {
    return hostError(-2147417848,
                     "Automation error\nThe object invoked has disconnected from its clients.");
}

xl::HostError applicationGoneError() {
    return hostError(-2147023174, "The RPC server is unavailable.");
}

} // namespace kelvor
