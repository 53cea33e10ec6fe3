#include "MessageScreens.h"

#include "Shots.h"
#include "dialogs/Dialogs.h"
#include "dialogs/FrmSetup.h"
#include "export/ExportContext.h"
#include "export/ReportExportStep.h"
#include "host/app/automation/BuiltinApplicationFactory.h"
#include "platform/widgets/QtPrompts.h"
#include "shell/FrmMain.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGuiApplication>
#include <QMessageBox>
#include <QScreen>
#include <QTemporaryDir>

#include <vector>

namespace kelvor::screens {
namespace {

constexpr int Margin = 8;
constexpr int PaintMs = 300;

class NoSummary : public SummaryService {
public:
    void summarizeChannel(int, PromptOwner) override {}
};

QPixmap grabArea(QRect area) {
    area.adjust(-Margin, -Margin, Margin, Margin);
    return QGuiApplication::primaryScreen()->grabWindow(0, area.x(), area.y(), area.width(),
                                                        area.height());
}

// The boxes on the screen; a closed one may linger until it is deleted.
std::vector<QMessageBox*> shown(QtPrompts& boxes) {
    std::vector<QMessageBox*> visible;
    for (QMessageBox* box : boxes.openBoxes()) {
        if (box->isVisible()) {
            visible.push_back(box);
        }
    }
    return visible;
}

void closeAll(QtPrompts& boxes) {
    for (QMessageBox* box : boxes.openBoxes()) {
        box->close();
    }
    wait(PaintMs);
}

} // namespace

bool shootMessages(const ReaderScene& scene) {
    QtPrompts boxes;
    boxes.setMainWindow(&scene.main);
    QTemporaryDir folder;
    BuiltinApplicationFactory factory(folder.filePath("Workbooks").toStdString(), {});
    ChannelTable channels = scene.channels;
    for (ChannelRecord& channel : channels) {
        channel.WorkbookIndex = 0; // workbooks of an application of their own
    }
    float offset = 0.5F;
    ExportContext ctx(factory, boxes, channels, offset);
    ReportExportStep step(ctx);
    const auto exportBroken = [&](int channel, const char* from, const char* to) {
        std::string text = sample(scene.samples, "rate-shipper-lbf-in-50.txt");
        text.replace(text.find(from), std::string(from).size(), to);
        const std::string kept =
            "Received/Channel " + std::to_string(channel + 1) + "/2026-12-07 140322.txt";
        step.exportReport(channel, text, kept, channels[channel].WorkbookIndex);
    };

    exportBroken(1, "DEFLECTION", "DEFLECTIN"); // no line of column headings
    wait(PaintMs);
    bool ok = !boxes.openBoxes().empty() && save(grabFrame(*boxes.openBoxes().front(), Margin),
                                                 scene.out + "/message-export-error.png");
    exportBroken(2, "Force units in", "Force"); // a units line cut short
    wait(PaintMs);
    const auto open = shown(boxes);
    ok = open.size() == 2 &&
         save(grabArea(open[0]->frameGeometry().united(open[1]->frameGeometry())),
              scene.out + "/messages-cascaded.png") &&
         ok;
    closeAll(boxes);

    std::string release = "Released";
    NoSummary summary;
    PlatformConfig platform;
    const std::string iniPath = (scene.out + "/messages.ini").toStdString();
    Dialogs dialogs(scene.main, {.ChannelInfo = channels,
                                 .SummaryTraceOffset = offset,
                                 .ReleaseText = release,
                                 .CommStart = scene.main.CommStart(),
                                 .prompts = boxes,
                                 .summary = summary,
                                 .Platform = platform,
                                 .IniPath = iniPath});
    FrmSetup& setup = dialogs.showSetup();
    setup.Check1(5).setChecked(true);
    setup.Combo1(5).setCurrentIndex(0); // Press F on Press A's port
    wait(PaintMs);
    setup.Command1Click(0);
    wait(PaintMs);
    const auto refused = shown(boxes);
    ok = refused.size() == 1 &&
         save(grabArea(setup.frameGeometry().united(refused[0]->frameGeometry())),
              scene.out + "/message-duplicate-port.png") &&
         ok;
    closeAll(boxes);
    setup.Command1Click(1); // "Cancel"
    wait(PaintMs);
    return ok;
}

} // namespace kelvor::screens
