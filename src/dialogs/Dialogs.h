#pragma once

#include "capture/ChannelInfo.h"
#include "dialogs/SummaryService.h"
#include "platform/PlatformConfig.h"
#include "platform/Prompts.h"
#include "platform/SerialDevices.h"
#include "platform/Timer.h"

#include <QLocale>
#include <QPointer>

#include <functional>
#include <string>
#include <vector>

class QWidget;

namespace kelvor {

class FrmAbout;
class FrmSetup;

// Opens the setup dialog and the About box, both modeless and owned by the main window.
// Asking for one that is already open brings it to the front instead of opening a second.
class Dialogs {
public:
    struct Services {
        ChannelTable& ChannelInfo;
        float& SummaryTraceOffset;
        const std::string& ReleaseText;
        Timer& CommStart;
        Prompts& prompts;
        SummaryService& summary;
        PlatformConfig& Platform;
        const std::string& IniPath;
        QLocale locale = QLocale::system();
        std::function<std::vector<SerialDevice>()> listDevices = presentSerialDevices;
    };

    Dialogs(QWidget& owner, Services services);
    ~Dialogs();
    Dialogs(const Dialogs&) = delete;
    Dialogs& operator=(const Dialogs&) = delete;

    FrmSetup& showSetup();
    FrmAbout& showAbout();

    // The open windows, or null.
    FrmSetup* setup() const;
    FrmAbout* about() const;

private:
    QWidget& owner_;
    Services services_;
    QPointer<FrmSetup> setup_;
    QPointer<FrmAbout> about_;
};

} // namespace kelvor
