// Makes the screenshots of the README, of the workbook window and of the reader's own windows:
// the main window beside a workbook window; the workbook window on a constant-rate chart, a
// constant-load data sheet and chart, the Summary, the Summary Plot and its "Go to Sheet…"
// field; the main window with a light in every state, the setup dialog and the About box, and
// the messages. Run under a virtual X server (tools/screenshots.sh), natively or as the Windows
// build under Wine; the workbooks come from the sample reports through the real export, and are
// copied beside the pictures so another spreadsheet program can render the same files.
#include "MessageScreens.h"
#include "ReaderScreens.h"
#include "ScreenFakes.h"
#include "Shots.h"
#include "capture/ChannelInfo.h"
#include "dialogs/Dialogs.h"
#include "export/ExportContext.h"
#include "export/ReportExportStep.h"
#include "host/app/automation/BuiltinApplication.h"
#include "host/app/automation/BuiltinApplicationFactory.h"
#include "shell/AppState.h"
#include "shell/ExportSummary.h"
#include "shell/FrmMain.h"
#include "shell/Main.h"
#include "shell/WorkbookWindows.h"
#include "workbookview/BatchListDialog.h"
#include "workbookview/BatchRow.h"
#include "workbookview/SheetJump.h"
#include "workbookview/WorkbookWindow.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCompleter>
#include <QCursor>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QTemporaryDir>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iostream>

namespace {

using namespace kelvor;
using namespace kelvor::screens;

// Press A to C on ports 1 to 3; Press D to F are set up but disabled, so their lights stay grey.
void writeSettings(const QTemporaryDir& folder) {
    std::ofstream ini(folder.filePath("KelvrReader.ini").toStdString());
    ini << "[KelvorReader]\nTop=300\nLeft=300\n";
    const char* names[] = {"Press A", "Press B", "Press C", "Press D", "Press E", "Press F"};
    for (int n = 0; n < ChannelCount; ++n) {
        ini << "[KelvorReaderCH" << n << "]\nDescription=" << names[n]
            << "\nEnabled=" << (n < 3 ? 1 : 0) << "\nCommPort=" << n + 1 << "\n";
    }
    ini << "[KelvorReaderPorts]\nCom1=/dev/serial/by-id/usb-Maker_X_USB_Serial_A1B2-if00-port0\n"
           "Com2=/dev/serial/by-id/usb-Maker_Y_Dual_RS232_0042-if01-port0\nCom3=/dev/ttyUSB2\n";
}

// Adapters as a lab bench might have them plugged in, whatever this computer has.
std::vector<SerialDevice> benchDevices() {
    const std::string byId = "/dev/serial/by-id/";
    return {{byId + "usb-Maker_X_USB_Serial_A1B2-if00-port0",
             byId + "usb-Maker_X_USB_Serial_A1B2-if00-port0 (ttyUSB1)"},
            {byId + "usb-Maker_Y_Dual_RS232_0042-if01-port0",
             byId + "usb-Maker_Y_Dual_RS232_0042-if01-port0 (ttyUSB0)"},
            {"/dev/ttyUSB0", "/dev/ttyUSB0"},
            {"/dev/ttyUSB1", "/dev/ttyUSB1"},
            {"/dev/ttyUSB2", "/dev/ttyUSB2"},
            {"/dev/ttyS0", "/dev/ttyS0"}};
}

// The "Go to Sheet…" field offering the sheets whose names hold what was typed.
bool shootSheetJump(WorkbookWindow& window, const QString& out) {
    window.activateWindow();
    window.raise();
    SheetJump& jump = *window.sheetJump();
    jump.focusField();
    jump.field()->setText("plot");
    jump.completer()->setCompletionPrefix("plot");
    jump.completer()->complete();
    wait(400);
    const QWidget* popup = jump.completer()->popup();
    const QRect area = window.frameGeometry().united(popup->frameGeometry()).adjusted(-4, -4, 4, 4);
    const bool ok = save(QGuiApplication::primaryScreen()->grabWindow(0, area.x(), area.y(),
                                                                      area.width(), area.height()),
                         out + "/workbook-sheet-jump.png");
    jump.completer()->popup()->hide();
    jump.field()->clear();
    return ok;
}

// The folder the application writes its workbooks to, and the file name of workbook `index`.
std::string workbookFolder(ExportContext& ctx) {
    auto* app = dynamic_cast<BuiltinApplication*>(ctx.ExcelApp.get());
    return app != nullptr && app->Workbooks()->Count() > 0
               ? app->workbookFile(1).parent_path().string()
               : std::string(".");
}

std::string currentBookName(ExportContext& ctx, std::int32_t index) {
    auto* app = dynamic_cast<BuiltinApplication*>(ctx.ExcelApp.get());
    return app != nullptr && index > 0 ? app->workbookFile(index).filename().string()
                                       : std::string("Press A.xlsx");
}

// The pictures of the workbook windows; true when all were written.
bool shootWorkbooks(WorkbookWindows& windows, const QString& out) {
    bool ok = true;
    WorkbookWindow* window = windows.window(0);
    const auto shot = [&](const char* tab, const char* file) {
        window->showTab(tab);
        wait(300);
        return save(window->grab(), out + "/" + file);
    };
    ok = shot("Data 3 Plot", "workbook-rate-chart.png") && ok;
    ok = shot("Summary", "workbook-summary.png") && ok;
    ok = shot("Summary Plot", "workbook-summary-plot.png") && ok;
    ok = shootSheetJump(*window, out) && ok;
    windows.showWorkbook(1);
    WorkbookWindow* load = windows.window(1);
    load->resize(900, 620);
    load->showTab("Data 1");
    wait(300);
    ok = save(load->grab(), out + "/workbook-load-data.png") && ok;
    load->showTab("Data 1 Plot");
    wait(300);
    return save(load->grab(), out + "/workbook-load-chart.png") && ok;
}

// The same workbooks for another program to render.
void copyWorkbooks(ExportContext& ctx, const ChannelTable& channels, const QString& out) {
    auto& builtin = dynamic_cast<BuiltinApplication&>(*ctx.ExcelApp);
    for (int channel : {0, 1}) {
        const auto file = builtin.workbookFile(channels[channel].WorkbookIndex);
        const auto copy = std::filesystem::path(out.toStdString()) /
                          ("channel-" + std::to_string(channel + 1) + ".xlsx");
        std::filesystem::copy_file(file, copy, std::filesystem::copy_options::overwrite_existing);
        std::cout << "copied " << copy.string() << "\n";
    }
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 3) {
        std::cerr << "usage: kelvor-screens <samples folder> <output folder>\n";
        return 2;
    }
    const QString samples = argv[1];
    const QString out = argv[2];
    QDir().mkpath(out);
    QTemporaryDir folder;
    writeSettings(folder);

    NoPrompts prompts;
    AppState state;
    Main(state);
    std::function<void()> changed;
    BuiltinApplicationFactory factory(folder.filePath("Workbooks").toStdString(), {},
                                      {.workbooksChanged = [&] {
                                          if (changed) {
                                              changed();
                                          }
                                      }});
    ExportContext ctx(factory, prompts, state.ChannelInfo, state.SummaryTraceOffset);
    ReportExportStep exporter(ctx);
    WatchedExport watched(exporter);
    std::array<QuietPort*, ChannelCount> ports{};
    int made = 0;
    FrmMain main(state, {.prompts = prompts,
                         .exporter = watched,
                         .makePort =
                             [&](auto) {
                                 auto port = std::make_unique<QuietPort>();
                                 ports[made++] = port.get();
                                 return port;
                             },
                         .releaseExcel = {}});
    main.load(folder.path());
    std::array<QWidget*, ChannelCount> lights{};
    for (int n = 0; n < ChannelCount; ++n) {
        lights[n] = &main.commStatus(n);
    }
    // The batch list of Press A: two batches closed on earlier days (one whose file was moved
    // away) before the one the pictures fill.
    const auto batches = [&ctx, &state](int channel) {
        std::vector<BatchRow> rows;
        if (channel != 0) {
            return rows;
        }
        using namespace std::chrono;
        const auto at = [](int day, int hour, int minute) {
            return LabTime(local_days(year(2026) / December / day) + hours(hour) + minutes(minute));
        };
        const auto books = std::filesystem::path(workbookFolder(ctx));
        rows.push_back({"Press A 2026-12-03 07-12.xlsx", books / "Press A 2026-12-03 07-12.xlsx",
                        false, at(3, 7, 12), at(4, 16, 40), 212});
        // One of them still on disk (an empty stand-in is enough for the list).
        std::ofstream(books / "Press A 2026-12-07 06-58.xlsx").flush();
        rows.push_back({"Press A 2026-12-07 06-58.xlsx", books / "Press A 2026-12-07 06-58.xlsx",
                        false, at(7, 6, 58), at(7, 15, 5), 87});
        const int tests = 4; // the reports the pictures export to Press A before the list
        rows.push_back({currentBookName(ctx, state.ChannelInfo[0].WorkbookIndex),
                        books / currentBookName(ctx, state.ChannelInfo[0].WorkbookIndex), true,
                        at(8, 8, 2), at(8, 8, 31), tests});
        return rows;
    };
    WorkbookWindows windows({.lights = lights,
                             .exports = ctx,
                             .channels = state.ChannelInfo,
                             .prompts = prompts,
                             .batches = batches});
    changed = [&] { windows.workbooksChanged(); };
    ExportSummary summary(ctx, state.ChannelInfo);
    Dialogs dialogs(main, {.ChannelInfo = state.ChannelInfo,
                           .SummaryTraceOffset = state.SummaryTraceOffset,
                           .ReleaseText = state.ReleaseText,
                           .CommStart = main.CommStart(),
                           .prompts = prompts,
                           .summary = summary,
                           .Platform = state.Platform,
                           .IniPath = state.IniPath,
                           .listDevices = benchDevices});
    main.setSetupOpener([&dialogs] { dialogs.showSetup(); });
    // The pointer in a corner, so that no control is drawn as hovered.
    QCursor::setPos(QGuiApplication::primaryScreen()->geometry().bottomRight());
    main.show();
    wait(1500); // the ports open one second after start

    const auto exportTo = [&](int channel, const char* file) {
        std::string text = sample(samples, file);
        exporter.exportReport(channel, text, "", state.ChannelInfo[channel].WorkbookIndex);
    };
    exportTo(1, "load-stack-creep-lbf-in.txt");
    exportTo(0, "rate-shipper-lbf-in-50.txt");
    exportTo(0, "rate-paper-core-n-mm-150.txt");
    windows.showWorkbook(0);
    WorkbookWindow* window = windows.window(0);
    window->move(main.frameGeometry().right() + 12, main.frameGeometry().top());
    window->resize(900, 620);
    exportTo(0, "rate-doublewall-box-lbf-in-1000.txt"); // follows while open
    ports[2]->queued = sample(samples, "rate-bottle-topload-kgf-mm-300.txt").substr(0, 1500);
    wait(400); // channel C is receiving

    bool ok = true;
    const QRect both = main.frameGeometry().united(window->frameGeometry()).adjusted(-8, -8, 8, 8);
    ok = save(QGuiApplication::primaryScreen()->grabWindow(0, both.x(), both.y(), both.width(),
                                                           both.height()),
              out + "/reader-and-workbook.png") &&
         ok;
    ok = shootWorkbooks(windows, out) && ok;
    windows.showBatches(0);
    wait(300);
    if (QWidget* list = windows.batchList(0)) {
        ok = save(list->grab(), out + "/batch-list.png") && ok;
        list->close();
    }
    // Channel 1's copy holds both kinds of test, and its summary (a constant-rate test last).
    exportTo(0, "load-stack-creep-lbf-in.txt");
    exportTo(0, "rate-bottle-topload-kgf-mm-300.txt");
    copyWorkbooks(ctx, state.ChannelInfo, out);

    // The reader's own windows alone on the screen, nothing of the workbooks behind them.
    for (int n = 0; n < ChannelCount; ++n) {
        if (WorkbookWindow* open = windows.window(n)) {
            open->hide();
        }
    }
    const ReaderScene scene{.main = main,
                            .dialogs = dialogs,
                            .exporter = watched,
                            .ports = ports,
                            .channels = state.ChannelInfo,
                            .samples = samples,
                            .out = out};
    ok = shootLights(scene) && ok;
    ok = shootDialogs(scene) && ok;
    ok = shootMessages(scene) && ok;
    main.close();
    return ok ? 0 : 1;
}
