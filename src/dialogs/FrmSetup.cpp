#include "dialogs/FrmSetup.h"

#include "Version.h"
#include "capture/ChannelName.h"
#include "dialogs/DeviceDialog.h"
#include "dialogs/PortEntries.h"
#include "dialogs/TraceOffsetText.h"
#include "export/ErrorMessage.h"
#include "export/HostError.h"
#include "platform/LocaleNumbers.h"
#include "platform/widgets/AppIcon.h"
#include "platform/widgets/CenterForm.h"
#include "platform/widgets/QtPrompts.h"
#include "platform/widgets/Twips.h"
#include "platform/widgets/TwipsLayout.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <exception>

namespace kelvor {
namespace {

constexpr int PortEntries = 16;

QFont arial() {
    QFont font("Arial");
    font.setPointSizeF(8.25);
    return font;
}

} // namespace

FrmSetup::FrmSetup(QWidget& owner, Services services)
    : QDialog(&owner), services_(std::move(services)),
      portDevices_(services_.Platform.portDevices) {
    setWindowTitle("Kelvor Serial Net Setup");
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setModal(false);
    QFont plain = font();
    plain.setPointSizeF(8.25);
    setFont(plain);
    fixClientSizeTwips(*this, 7320, 3225);
    buildControls();
    load();
}

void FrmSetup::buildControls() {
    const auto label = [this](int index, const char* caption, int left, int top, int width) {
        auto* l = new QLabel(caption, this);
        l->setObjectName(QString("Label1_%1").arg(index));
        placeTwips(*l, left, top, width, 255);
    };
    label(1, "Kelvor Description:", 120, 120, 1815);
    label(3, "Port:", 3600, 120, 675);
    label(2, "Enabled:", 5040, 120, 735);

    for (int n = 0; n < ChannelCount; ++n) {
        auto* text = new QLineEdit(this);
        text->setObjectName(QString("TextDesc_%1").arg(n));
        text->setFont(arial());
        placeTwips(*text, 120, 360 + 360 * n, 3435, 315);
        textDesc_[n] = text;

        auto* combo = new PortList(this);
        combo->setObjectName(QString("Combo1_%1").arg(n));
        placeTwips(*combo, 3600, 360 + 360 * n, 1455, 315);
        combo1_[n] = combo;

        auto* check = new QCheckBox(this);
        check->setObjectName(QString("Check1_%1").arg(n));
        placeTwips(*check, 5280, 420 + 360 * n, 255, 255);
        check1_[n] = check;
    }

    label(0, "Excel Summary Trace Offsets:", 120, 2640, 2535);
    traceOffset_ = new QLineEdit(this);
    traceOffset_->setObjectName("TraceOffset");
    traceOffset_->setFont(arial());
    placeTwips(*traceOffset_, 120, 2880, 855, 285);

    const struct {
        const char* caption;
        int left, top, width;
    } buttons[] = {{"Ok", 5940, 1620, 1275},
                   {"Cancel", 5940, 2100, 1275},
                   {"About", 5940, 360, 1275},
                   {"Summarize Now", 2820, 2820, 2235}};
    for (int index = 0; index < 4; ++index) {
        auto* button = new QPushButton(buttons[index].caption, this);
        button->setObjectName(QString("Command1_%1").arg(index));
        button->setFont(arial());
        // No button takes Enter from a text box; Esc is "Cancel" (see reject()).
        button->setAutoDefault(false);
        placeTwips(*button, buttons[index].left, buttons[index].top, buttons[index].width, 375);
        connect(button, &QPushButton::clicked, this, [this, index] { Command1Click(index); });
        command1_[index] = button;
    }

    // Below "Cancel", level with "Summarize Now".
    devicesButton_ = new QPushButton(QString::fromUtf8("Devices\u2026"), this);
    devicesButton_->setObjectName("Devices");
    devicesButton_->setFont(arial());
    devicesButton_->setAutoDefault(false);
    placeTwips(*devicesButton_, 5940, 2820, 1275, 375);
    connect(devicesButton_, &QPushButton::clicked, this, &FrmSetup::showDevices);

    auto* image = new QLabel(this);
    image->setObjectName("Image1");
    image->setPixmap(appIconPixmap(twipsToPixels(480, screenDpi(*this))));
    placeTwips(*image, 6360, 900, 480, 480);

    // Row by row, then the buttons on the right, then the summary controls.
    QWidget* previous = nullptr;
    const auto chain = [&previous](QWidget* next) {
        if (previous != nullptr) {
            setTabOrder(previous, next);
        }
        previous = next;
    };
    for (int n = 0; n < ChannelCount; ++n) {
        chain(textDesc_[n]);
        chain(combo1_[n]);
        chain(check1_[n]);
    }
    chain(command1_[0]);
    chain(command1_[1]);
    chain(command1_[2]);
    chain(traceOffset_);
    chain(command1_[3]);
    chain(devicesButton_);
}

void FrmSetup::load() {
    CenterForm(*this);
    for (int n = 0; n < ChannelCount; ++n) {
        const ChannelRecord& channel = services_.ChannelInfo[n];
        check1_[n]->setChecked(channel.Enabled != 0);
        textDesc_[n]->setText(QString::fromStdString(channel.Description));
        for (int k = 1; k <= PortEntries; ++k) {
            combo1_[n]->addItem(QString("Com %1").arg(k));
        }
        const bool listed = channel.CommPort >= 1 && channel.CommPort <= PortEntries;
        combo1_[n]->setCurrentIndex(listed ? channel.CommPort - 1 : 0);
    }
    traceOffset_->setText(
        QString::fromStdString(formatSingle(services_.SummaryTraceOffset, services_.locale)));
    describePorts();
}

std::string FrmSetup::deviceForPort(int port) const {
    if (const auto found = portDevices_.find(port);
        found != portDevices_.end() && !found->second.empty()) {
        return found->second;
    }
    return defaultDeviceForPort(port);
}

void FrmSetup::describePorts() {
    for (PortList* combo : combo1_) {
        combo->describeEntries([this](int port) { return deviceForPort(port); });
    }
}

DeviceDialog* FrmSetup::deviceDialog() const {
    return deviceDialog_.data();
}

// The choice stays in this dialog until "Ok"; "Cancel" forgets it.
void FrmSetup::showDevices() {
    if (deviceDialog_) {
        deviceDialog_->raise();
        deviceDialog_->activateWindow();
        return;
    }
    std::vector<SerialDevice> present;
    if (services_.listDevices) {
        present = services_.listDevices();
    }
    deviceDialog_ =
        new DeviceDialog(*this, present, [this](int port) { return deviceForPort(port); });
    deviceDialog_->setAttribute(Qt::WA_DeleteOnClose);
    connect(deviceDialog_, &QDialog::accepted, this, [this] {
        portDevices_ = chosenPortDevices(deviceDialog_->devices());
        describePorts();
    });
    deviceDialog_->open();
}

void FrmSetup::storePortDevices() {
    const auto chosen = chosenPortDevices(portDevices_);
    if (chosen == chosenPortDevices(services_.Platform.portDevices)) {
        return; // the file stays as it is
    }
    services_.Platform.portDevices = chosen;
    if (!writePortDevices(chosen, services_.IniPath)) {
        services_.prompts.show("INI file problem: " + services_.IniPath, ProgramTitle,
                               PromptIcon::Critical, PromptButtons::Ok);
    }
}

void FrmSetup::Command1Click(int index) {
    switch (index) {
    case 0:
        okClick();
        break;
    case 1:
        cancelClick();
        break;
    case 2:
        if (services_.showAbout) {
            services_.showAbout();
        }
        break;
    case 3:
        summarizeNow();
        break;
    default:
        break;
    }
}

// The first two ticked channels set to the same port, as "Channel 1 (Press A) and Channel 6
// (Press F) are both set to Com 3."; empty when the ticked ports are all different.
std::string FrmSetup::sharedPort() {
    for (int i = 0; i < ChannelCount; ++i) {
        if (!check1_[i]->isChecked()) {
            continue;
        }
        for (int j = i + 1; j < ChannelCount; ++j) {
            if (check1_[j]->isChecked() &&
                combo1_[i]->currentIndex() == combo1_[j]->currentIndex()) {
                return channelName(i, textDesc_[i]->text().toStdString()) + " and " +
                       channelName(j, textDesc_[j]->text().toStdString()) + " are both set to " +
                       combo1_[i]->currentText().toStdString() + ".";
            }
        }
    }
    return {};
}

std::optional<float> FrmSetup::typedTraceOffset() {
    const auto offset = readTraceOffset(traceOffset_->text().toStdString(), services_.locale);
    if (!offset) {
        // Taken as it stands this number would overflow the offset and spoil every summary
        // and the settings file; the user gets to correct it.
        services_.prompts.show("The summary trace offset is too large.", ProgramTitle,
                               PromptIcon::Exclamation, PromptButtons::Ok);
        traceOffset_->setFocus();
        traceOffset_->selectAll();
    }
    return offset;
}

void FrmSetup::okClick() {
    if (const std::string shared = sharedPort(); !shared.empty()) {
        services_.prompts.showFor(QtPrompts::ownerOf(*this),
                                  "Enabled communications channels cannot use the same ports.\r" +
                                      shared,
                                  ProgramTitle, PromptIcon::Information, PromptButtons::Ok);
        return;
    }
    const auto offset = typedTraceOffset();
    if (!offset) {
        return;
    }
    for (int n = 0; n < ChannelCount; ++n) {
        ChannelRecord& channel = services_.ChannelInfo[n];
        channel.Description = textDesc_[n]->text().toStdString();
        channel.CommPort = combo1_[n]->currentIndex() + 1;
        channel.Enabled = check1_[n]->isChecked() ? 1 : 0;
    }
    services_.SummaryTraceOffset = *offset;
    storePortDevices();
    services_.CommStart.setEnabled(true);
    unloadForm();
}

void FrmSetup::cancelClick() {
    services_.CommStart.setEnabled(true);
    unloadForm();
}

void FrmSetup::summarizeNow() {
    const auto offset = typedTraceOffset();
    if (!offset) {
        return;
    }
    // Message boxes inside the run let events through, so this window may be gone by the time
    // the run ends; nothing below reaches into it unless it is still there.
    ChannelTable& channels = services_.ChannelInfo;
    Prompts& prompts = services_.prompts;
    SummaryService& summary = services_.summary;
    const QPointer<FrmSetup> self(this);
    services_.SummaryTraceOffset = *offset;
    const auto owner = [&self] { return self ? QtPrompts::ownerOf(*self) : PromptOwner{}; };
    int channel = -1;
    try {
        for (channel = 0; channel < ChannelCount; ++channel) {
            if (channels[channel].Enabled != 0) {
                summary.summarizeChannel(channel, owner());
            }
        }
    } catch (const xl::HostError& error) {
        showErrorBox(prompts, xl::errorMessageText(error) + "\r" + channelName(channels, channel),
                     owner());
    } catch (const std::exception& error) {
        showErrorBox(prompts, std::string(error.what()) + "\r" + channelName(channels, channel),
                     owner());
    }
    if (self && !self->unloaded_) {
        self->raise();
        self->activateWindow();
    }
}

void FrmSetup::unloadForm() {
    unloaded_ = true;
    close();
}

void FrmSetup::reject() {
    if (!unloaded_) {
        Command1Click(1);
    }
}

void FrmSetup::closeEvent(QCloseEvent* event) {
    // Through the window's close box nothing is stored and CommStart stays off: the ports
    // stay closed until the dialog is left by "Ok" or "Cancel".
    unloaded_ = true;
    event->accept();
    deleteLater();
}

void FrmSetup::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!centred_) {
        centred_ = true;
        CenterForm(*this); // now with the frame the window system gave it
        textDesc_[0]->setFocus();
    }
}

} // namespace kelvor
