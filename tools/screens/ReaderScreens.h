#pragma once

#include "capture/ChannelInfo.h"

#include <QString>

#include <array>

namespace kelvor {
class Dialogs;
class FrmMain;
} // namespace kelvor

namespace kelvor::screens {

class QuietPort;
class WatchedExport;

// The running reader the pictures are taken of: Press A to C enabled on quiet ports, the
// other channels disabled.
struct ReaderScene {
    FrmMain& main;
    Dialogs& dialogs;
    WatchedExport& exporter;
    const std::array<QuietPort*, ChannelCount>& ports;
    const ChannelTable& channels;
    QString samples;
    QString out;
};

// The main window with a light in every state: Press A receiving (green, its count), Press B
// exporting (red "To Excel"), Press C waiting (yellow), the disabled channels grey.
bool shootLights(const ReaderScene& scene);

// The setup dialog as ">>" opens it, and the About box its "About" opens; both closed again.
bool shootDialogs(const ReaderScene& scene);

} // namespace kelvor::screens
