#pragma once

#include "capture/ChannelInfo.h"
#include "dialogs/PortEntries.h"
#include "dialogs/SummaryService.h"
#include "platform/PlatformConfig.h"
#include "platform/Prompts.h"
#include "platform/SerialDevices.h"
#include "platform/Timer.h"

#include <QDialog>
#include <QLocale>
#include <QPointer>

#include <array>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

namespace kelvor {

class DeviceDialog;

// "Kelvor Serial Net Setup": enable, describe and give a port to each channel, set the summary
// trace offset, rebuild all summaries now, open the About box. It edits the values in memory
// only; "Ok" and "Cancel" re-arm CommStart so the ports reopen a second after it closes.
// Every opening is a new dialog, loaded from the stored values. Beyond that, each port entry
// names the device behind it, and "Devices..." chooses those devices; "Ok" stores them in
// memory and in the settings file's port section at once, as they are not among the values
// written at exit.
class FrmSetup final : public QDialog {
    Q_OBJECT
public:
    struct Services {
        ChannelTable& ChannelInfo;
        float& SummaryTraceOffset;
        Timer& CommStart;
        Prompts& prompts;
        SummaryService& summary;
        PlatformConfig& Platform;   // the devices behind the port numbers
        const std::string& IniPath; // where "Ok" writes the devices chosen
        std::function<void()> showAbout;
        QLocale locale = QLocale::system();
        std::function<std::vector<SerialDevice>()> listDevices = presentSerialDevices;
    };

    FrmSetup(QWidget& owner, Services services);

    // Button indexes: 0 "Ok", 1 "Cancel", 2 "About", 3 "Summarize Now".
    void Command1Click(int index);

    QLineEdit& TextDesc(int n) { return *textDesc_.at(n); }
    QComboBox& Combo1(int n) { return *combo1_.at(n); }
    QCheckBox& Check1(int n) { return *check1_.at(n); }
    QLineEdit& TraceOffset() { return *traceOffset_; }
    QPushButton& Command1(int index) { return *command1_.at(index); }
    QPushButton& DevicesButton() { return *devicesButton_; }
    // The open "Serial Devices" dialog, or null.
    DeviceDialog* deviceDialog() const;
    // Left through "Ok", "Cancel" or the close box; the window goes away with the next
    // turn of the event loop.
    bool isUnloaded() const { return unloaded_; }

protected:
    void reject() override; // the Esc key answers as "Cancel"
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void buildControls();
    void load();
    void okClick();
    void cancelClick();
    void summarizeNow();
    std::string sharedPort();
    std::optional<float> typedTraceOffset();
    void unloadForm();
    void showDevices();
    void describePorts();
    void storePortDevices();
    std::string deviceForPort(int port) const;

    Services services_;
    std::array<QLineEdit*, ChannelCount> textDesc_{};
    std::array<PortList*, ChannelCount> combo1_{};
    std::array<QCheckBox*, ChannelCount> check1_{};
    QLineEdit* traceOffset_ = nullptr;
    std::array<QPushButton*, 4> command1_{};
    QPushButton* devicesButton_ = nullptr;
    QPointer<DeviceDialog> deviceDialog_;
    std::map<int, std::string> portDevices_; // as chosen here, stored by "Ok"
    bool unloaded_ = false;
    bool centred_ = false;
};

} // namespace kelvor
