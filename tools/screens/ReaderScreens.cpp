#include "ReaderScreens.h"

#include "ScreenFakes.h"
#include "Shots.h"
#include "dialogs/DeviceDialog.h"
#include "dialogs/Dialogs.h"
#include "dialogs/FrmAbout.h"
#include "dialogs/FrmSetup.h"
#include "shell/FrmMain.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

#include <iostream>

namespace kelvor::screens {
namespace {

constexpr int EnabledChannels = 3;
// Of the screen around a window: its frame shows whole even where the toolkit takes part of it
// for a border the system does not draw (Windows 10 under Wine: 4 pixels left, right, below).
constexpr int Margin = 8;
constexpr int PaintMs = 300;
constexpr int TimeoutMs = 10000;

bool allWaiting(const ChannelTable& channels) {
    for (int n = 0; n < EnabledChannels; ++n) {
        if (channels[n].Status != StatusReady) {
            return false;
        }
    }
    return true;
}

bool fail(const char* what) {
    std::cerr << "no picture: " << what << "\n";
    return false;
}

} // namespace

bool shootLights(const ReaderScene& scene) {
    // What the channels received before goes into the workbooks first.
    if (!waitFor([&] { return allWaiting(scene.channels); }, TimeoutMs)) {
        return fail("the lights did not turn yellow");
    }
    bool exported = false;
    bool ok = false;
    scene.exporter.whileExporting(1, [&] {
        exported = true;
        // Press B's light stays red until this returns; Press A's turns green meanwhile.
        scene.ports[0]->queued = sample(scene.samples, "rate-shipper-lbf-in-50.txt");
        if (!waitFor([&] { return !scene.main.commStatus(0).text().isEmpty(); }, TimeoutMs)) {
            fail("Press A did not count its characters");
            return;
        }
        wait(PaintMs);
        ok = save(grabFrame(scene.main, Margin), scene.out + "/reader-lights.png");
    });
    scene.ports[1]->queued = sample(scene.samples, "rate-paper-core-n-mm-150.txt");
    if (!waitFor([&] { return exported; }, TimeoutMs)) {
        return fail("Press B's report was not exported");
    }
    // The next pictures start from quiet lines, Press A's report in its workbook.
    return waitFor([&] { return allWaiting(scene.channels); }, TimeoutMs) && ok;
}

bool shootDialogs(const ReaderScene& scene) {
    scene.main.Command1Click(1); // ">>"
    FrmSetup* setup = scene.dialogs.setup();
    if (setup == nullptr) {
        return fail("\">>\" opened no setup dialog");
    }
    wait(PaintMs);
    bool ok = save(grabFrame(*setup, Margin), scene.out + "/setup-dialog.png");
    // The port list of Press C open, each entry with its device.
    QComboBox& ports = setup->Combo1(2);
    ports.showPopup();
    wait(PaintMs);
    const QWidget* popup = ports.view()->window();
    const QRect area = setup->frameGeometry().united(popup->frameGeometry());
    ok = save(setup->screen()->grabWindow(0, area.x() - Margin, area.y() - Margin,
                                          area.width() + 2 * Margin, area.height() + 2 * Margin),
              scene.out + "/setup-port-list.png") &&
         ok;
    ports.hidePopup();
    setup->DevicesButton().click();
    if (DeviceDialog* devices = setup->deviceDialog()) {
        wait(PaintMs);
        ok = save(grabFrame(*devices, Margin), scene.out + "/devices-dialog.png") && ok;
        devices->cancelButton().click();
    } else {
        ok = fail("\"Devices\" opened no dialog");
    }
    // The About box its "About" button opens, alone, without the setup dialog behind it.
    setup->Command1Click(1); // "Cancel"
    FrmAbout& about = scene.dialogs.showAbout();
    wait(PaintMs);
    ok = save(grabFrame(about, Margin), scene.out + "/about-box.png") && ok;
    about.cmdOK().click();
    return ok;
}

} // namespace kelvor::screens
