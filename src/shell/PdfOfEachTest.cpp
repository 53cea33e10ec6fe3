#include "shell/PdfOfEachTest.h"

#include "Version.h"

namespace kelvor {

bool PdfOfEachTest::on(int channel) const {
    return channel >= 0 && channel < PdfChannelCount &&
           platform_.pdfOfEachTest[static_cast<std::size_t>(channel)];
}

void PdfOfEachTest::set(int channel, bool on) {
    if (channel < 0 || channel >= PdfChannelCount) {
        return;
    }
    platform_.pdfOfEachTest[static_cast<std::size_t>(channel)] = on;
    const std::string what = "Channel " + std::to_string(channel + 1) + ": a PDF of each test " +
                             (on ? "is saved" : "is no longer saved");
    if (log_ != nullptr) {
        log_->write(what);
    }
    if (!writePdfOfEachTest(channel, on, iniPath_)) {
        prompts_.show("The settings file " + iniPath_ +
                          " could not be changed: the choice of a PDF of each test holds until "
                          "the reader ends.",
                      ProgramTitle, PromptIcon::Exclamation, PromptButtons::Ok);
    }
}

} // namespace kelvor
