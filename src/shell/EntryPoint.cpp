#include "Version.h"
#include "batches/BatchJournal.h"
#include "batches/BatchReopening.h"
#include "batches/JournalingExport.h"
#include "capture/ReceivedArchive.h"
#include "dialogs/Dialogs.h"
#include "export/ChannelWorkbooks.h"
#include "export/ExportContext.h"
#include "export/ReportExportStep.h"
#include "host/app/automation/BuiltinApplicationFactory.h"
#include "platform/DurableFile.h"
#include "platform/FolderIdentity.h"
#include "platform/LocalePaper.h"
#include "platform/PlatformConfig.h"
#include "platform/ProgramFolders.h"
#include "platform/QtTimer.h"
#include "platform/TerminationSignals.h"
#include "platform/widgets/QtPrompts.h"
#include "shell/BatchListing.h"
#include "shell/DesktopSpreadsheet.h"
#include "shell/ExportSummary.h"
#include "shell/FrmMain.h"
#include "shell/LoggedPrompts.h"
#include "shell/Main.h"
#include "shell/PdfAfterExport.h"
#include "shell/PdfOfEachTest.h"
#include "shell/PdfQueue.h"
#include "shell/WorkbookWindows.h"
#include "util/EventLog.h"
#include "util/PathText.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QSessionManager>
#include <QStandardPaths>

#include <array>
#include <filesystem>
#include <functional>

namespace {

// Where the reader keeps its files. The settings file lives beside the program, or in the
// user's documents when the program is installed (Program Files) or may not write there; the
// built-in spreadsheet application keeps its workbook files in the folder the settings file names
// (beside it by default). Workbooks that cannot be written there when the program ends go to
// the user's documents instead of being lost (a pulled drive, a full disk, a share gone away).
struct ProgramFiles {
    QString settingsFolder;
    std::string iniPath;
    kelvor::PlatformConfig platform;
    std::filesystem::path rescueFolder;
};

ProgramFiles programFiles() {
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    ProgramFiles files;
    files.settingsFolder = QString::fromStdString(kelvor::utf8Of(kelvor::settingsFolder(
        kelvor::pathFromUtf8(QApplication::applicationDirPath().toStdString()),
        kelvor::pathFromUtf8(documents.toStdString()), "KelvrReader.ini",
        kelvor::installationFolders())));
    files.iniPath = kelvor::iniPathIn(files.settingsFolder);
    files.platform = kelvor::readPlatformConfig(files.iniPath);
    if (!documents.isEmpty()) {
        files.rescueFolder =
            kelvor::pathFromUtf8(documents.toStdString()) / "KelvorReader2 rescued workbooks";
    }
    return files;
}

std::string startText(const std::string& workbookFolder) {
    return std::string("Reader started: ") + kelvor::ProgramTitle + " " +
           std::to_string(kelvor::VersionMajor) + "." + std::to_string(kelvor::VersionMinor) + "." +
           std::to_string(kelvor::VersionRevision) + ", workbooks in " + workbookFolder;
}

// A notice that does not stop the work: an exclamation box with OK.
std::function<void(const std::string&)> noticeBox(kelvor::Prompts& prompts) {
    return [&prompts](const std::string& message) {
        prompts.show(message, kelvor::ProgramTitle, kelvor::PromptIcon::Exclamation,
                     kelvor::PromptButtons::Ok);
    };
}

std::array<QWidget*, kelvor::ChannelCount> statusLights(kelvor::FrmMain& frmMain) {
    std::array<QWidget*, kelvor::ChannelCount> lights{};
    for (int n = 0; n < kelvor::ChannelCount; ++n) {
        lights[n] = &frmMain.commStatus(n);
    }
    return lights;
}

} // namespace

int main(int argc, char** argv) {
    // A file-size limit then fails a workbook write like a full disk, told and tried again,
    // instead of killing the reader.
    kelvor::ignoreFileSizeLimitSignal();
    QApplication app(argc, argv);
    QApplication::setApplicationName(kelvor::ProgramTitle);
    // The main window is a tool window, which the toolkit does not count as the last window;
    // the program ends when the main window has unloaded.
    QApplication::setQuitOnLastWindowClosed(false);

    kelvor::AppState state;
    kelvor::Main(state);

    const ProgramFiles files = programFiles();
    const kelvor::PlatformConfig& platform = files.platform;
    kelvor::EventLog log(kelvor::pathFromUtf8(files.iniPath).parent_path() / "KelvorReader.log");
    log.write(startText(platform.workbookFolder));
    kelvor::QtPrompts boxes;
    kelvor::LoggedPrompts prompts(boxes, log);
    const auto workbookFolder = kelvor::pathFromUtf8(platform.workbookFolder);
    const auto logLine = [&log](const std::string& line) { log.write(line); };
    // A share that dropped or a drive that is missing leaves another folder at the same path;
    // nothing is written there. The marker lies in the archive's folder, the reader's own.
    kelvor::FolderIdentity folderIdentity(
        workbookFolder, workbookFolder / "Received",
        kelvor::pathFromUtf8(files.iniPath).parent_path() / "KelvorReader.folder",
        {.tell = noticeBox(prompts), .log = logLine, .newIdentity = {}});
    const auto folderIsOurs = [&folderIdentity] { return folderIdentity.isOurs(); };
    // Every report is kept as received before any export is tried; what the folder does not
    // take is held until it does, or goes beside the rescued workbooks.
    kelvor::ReceivedArchive archive(
        workbookFolder / "Received", kelvor::WallClock::now, noticeBox(prompts),
        {.folderIsOurs = folderIsOurs,
         .spillFolder =
             files.rescueFolder.empty() ? std::filesystem::path() : files.rescueFolder / "Received",
         .log = logLine});
    // The workbook windows, made below, follow every export.
    std::function<void()> workbooksChanged;
    kelvor::BuiltinApplicationFactory spreadsheets(kelvor::pathFromUtf8(platform.workbookFolder),
                                                   noticeBox(prompts),
                                                   {.rescueFolder = files.rescueFolder,
                                                    .workbooksChanged =
                                                        [&workbooksChanged] {
                                                            if (workbooksChanged) {
                                                                workbooksChanged();
                                                            }
                                                        },
                                                    .folderIsOurs = folderIsOurs,
                                                    .paperSize = kelvor::localePaperSize()});
    // What each export did is journaled, so that a restart opens the batches again; like the
    // archive, the journal waits for its own folder.
    kelvor::BatchJournal journal(kelvor::batchJournalPath(workbookFolder), kelvor::WallClock::now,
                                 noticeBox(prompts));
    journal.setFolderCheck(folderIsOurs);
    // Held archive bytes and journal records are tried again every few seconds; held workbooks when
    // their folder comes back (a full disk waits for the next export, as a workbook costs more to
    // write).
    bool folderWasOurs = folderIdentity.isOurs();
    kelvor::QtTimer heldRetry(2000, [&] {
        const bool ours = folderIdentity.isOurs();
        archive.retryHeld();
        journal.retryHeld();
        if (ours && !folderWasOurs) {
            for (const auto& application : spreadsheets.created()) {
                if (application) {
                    application->writeHeld();
                }
            }
        }
        folderWasOurs = ours;
    });
    heldRetry.setEnabled(true);
    // Reports go to the desktop's spreadsheet application when there is one to use; the
    // batches reopened read-only and the workbook windows stay with the built-in one.
    std::string spreadsheetSaid;
    const auto desktop = kelvor::desktopSpreadsheet(platform, workbookFolder, spreadsheetSaid);
    log.write(spreadsheetSaid);
    kelvor::ExportContext exportContext(desktop ? *desktop : spreadsheets, prompts,
                                        state.ChannelInfo, state.SummaryTraceOffset);
    kelvor::ReportExportStep exportStep(exportContext);
    kelvor::JournalingExport journaling(
        exportStep, journal, state.ChannelInfo, state.SummaryTraceOffset,
        [&exportContext](std::int32_t at) { return kelvor::workbookNameAt(exportContext, at); });
    // After each export of a channel that wants them, the test's sheets as PDF files, written
    // from the event loop once the export has returned.
    kelvor::PdfOfEachTest pdfSetting(state.Platform, state.IniPath, prompts, &log);
    kelvor::PdfQueue pdfs({.prompts = prompts, .log = &log, .folderIsOurs = folderIsOurs});
    kelvor::PdfAfterExport exporter(
        {.inner = journaling,
         .queue = pdfs,
         .exports = exportContext,
         .channels = state.ChannelInfo,
         .enabled = [&pdfSetting](int channel) { return pdfSetting.on(channel); },
         .workbookFolder = workbookFolder});

    kelvor::FrmMain frmMain(state, {.prompts = prompts,
                                    .exporter = exporter,
                                    .makePort = {},
                                    .releaseExcel = [&] { kelvor::ReleaseExcel(exportContext); },
                                    .archive = &archive,
                                    .log = &log});
    boxes.setMainWindow(&frmMain); // boxes that name no window of their own stand in front of it
    QObject::connect(&frmMain, &kelvor::FrmMain::unloaded, &app, &QApplication::quit,
                     Qt::QueuedConnection);
    kelvor::ExportSummary summary(exportContext, state.ChannelInfo, &journal);
    kelvor::Dialogs dialogs(frmMain, {.ChannelInfo = state.ChannelInfo,
                                      .SummaryTraceOffset = state.SummaryTraceOffset,
                                      .ReleaseText = state.ReleaseText,
                                      .CommStart = frmMain.CommStart(),
                                      .prompts = prompts,
                                      .summary = summary,
                                      .Platform = state.Platform,
                                      .IniPath = state.IniPath});
    frmMain.setSetupOpener([&dialogs] { dialogs.showSetup(); });
    kelvor::WorkbookWindows workbookWindows(
        {.lights = statusLights(frmMain),
         .exports = exportContext,
         .channels = state.ChannelInfo,
         .prompts = prompts,
         .workbookFolder = workbookFolder,
         .log = &log,
         .openUrl = {},
         .closed = [&journal](int channel,
                              const std::string& workbook) { journal.closed(channel, workbook); },
         .batches =
             [&journal, &workbookFolder](int channel) {
                 return kelvor::batchRows(journal, channel, workbookFolder);
             },
         .openReadOnly =
             [&spreadsheets, &journal, &log](const kelvor::BatchRow& row) {
                 return kelvor::openEndedBatch(spreadsheets, journal, row, &log);
             },
         .savesPdf = [&pdfSetting](int channel) { return pdfSetting.on(channel); },
         .setSavesPdf = [&pdfSetting](int channel, bool on) { pdfSetting.set(channel, on); }});
    workbooksChanged = [&workbookWindows] { workbookWindows.workbooksChanged(); };
    kelvor::TerminationSignals termination([&frmMain] { frmMain.close(); });
    // The end of the user's session (logging off, shutting down) ends the reader the same way,
    // before the system ends the process.
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &frmMain,
                     [&frmMain](QSessionManager&) { frmMain.close(); });

    frmMain.load(files.settingsFolder);
    frmMain.show();
    // The settings are read, the ports not yet open (CommStart opens them from the event loop):
    // the batches open before a report can come. Reports played again into reopened batches
    // bypass the exporter and make no PDF (theirs were made when they first came); reports
    // recovered from the archive go through it and get theirs now.
    {
        QElapsedTimer took;
        took.start();
        kelvor::BatchStart batches{
            .reopen = {.exports = exportContext,
                       .channels = state.ChannelInfo,
                       .journal = journal,
                       .holdWrites = [&spreadsheets] { spreadsheets.holdWrites(); },
                       .adoptHeldWrites = [&spreadsheets] { spreadsheets.adoptHeldWrites(); },
                       .log = &log},
            .journal = journal,
            .journaling = exporter,
            .workbookFolder = workbookFolder,
            .tell = noticeBox(prompts),
            .reopenOpenBatches = desktop == nullptr};
        kelvor::startBatches(batches);
        log.write("Batches ready in " + std::to_string(took.elapsed()) + " ms");
    }
    const int exitCode = QApplication::exec();
    heldRetry.setEnabled(false);
    archive.close();
    log.write("Reader ended");
    return exitCode;
}
