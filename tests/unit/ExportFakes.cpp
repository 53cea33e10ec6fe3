#include "ExportFakes.h"

namespace kelvor::test {

void VanishedApplication::fail() {
    throw xl::HostError(462, "KelvorReader2",
                        "The remote server machine does not exist or is unavailable");
}

void RecordingApplication::setVisible(bool visible) {
    log_.push_back(visible ? "visible" : "hidden");
    ForwardingApplication::setVisible(visible);
}

void RecordingApplication::setScreenUpdating(bool updating) {
    log_.push_back(updating ? "screen on" : "screen off");
    ForwardingApplication::setScreenUpdating(updating);
}

void RecordingApplication::setCalculation(std::int32_t mode) {
    log_.push_back(mode == xl::xlCalculationManual      ? "manual"
                   : mode == xl::xlCalculationAutomatic ? "automatic"
                                                        : "calculation " + std::to_string(mode));
    ForwardingApplication::setCalculation(mode);
}

void RecordingApplication::setClipboardText(const std::string& text) {
    log_.push_back("clipboard");
    ForwardingApplication::setClipboardText(text);
}

xl::Application* FailingApplication::pass(const char* member) {
    if (member_.empty() || member_ == member) {
        if (--callsLeft_ == 0) {
            --callsLeft_;
            throw xl::HostError(1004, "KelvorReader2 Spreadsheet",
                                "Application-defined or object-defined error");
        }
    }
    return inner_.get();
}

} // namespace kelvor::test
