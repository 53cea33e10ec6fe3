#include "dialogs/Dialogs.h"

#include "dialogs/FrmAbout.h"
#include "dialogs/FrmSetup.h"

namespace kelvor {
namespace {

void bringToFront(QWidget& window) {
    if (window.isMinimized()) {
        window.showNormal();
    }
    window.raise();
    window.activateWindow();
}

} // namespace

Dialogs::Dialogs(QWidget& owner, Services services)
    : owner_(owner), services_(std::move(services)) {}

Dialogs::~Dialogs() {
    // The windows call back into this object; they do not outlive it.
    delete setup_.data();
    delete about_.data();
}

FrmSetup* Dialogs::setup() const {
    // A dialog left through its buttons lingers until the event loop deletes it.
    return setup_ && !setup_->isUnloaded() ? setup_.data() : nullptr;
}

FrmAbout* Dialogs::about() const {
    return about_ && about_->isVisible() ? about_.data() : nullptr;
}

FrmSetup& Dialogs::showSetup() {
    if (FrmSetup* open = setup()) {
        bringToFront(*open);
        return *open;
    }
    setup_ = new FrmSetup(owner_, FrmSetup::Services{
                                      .ChannelInfo = services_.ChannelInfo,
                                      .SummaryTraceOffset = services_.SummaryTraceOffset,
                                      .CommStart = services_.CommStart,
                                      .prompts = services_.prompts,
                                      .summary = services_.summary,
                                      .Platform = services_.Platform,
                                      .IniPath = services_.IniPath,
                                      .showAbout = [this] { showAbout(); },
                                      .locale = services_.locale,
                                      .listDevices = services_.listDevices,
                                  });
    setup_->show();
    return *setup_;
}

FrmAbout& Dialogs::showAbout() {
    if (FrmAbout* open = about()) {
        bringToFront(*open);
        return *open;
    }
    about_ = new FrmAbout(owner_, services_.ReleaseText);
    about_->show();
    return *about_;
}

} // namespace kelvor
