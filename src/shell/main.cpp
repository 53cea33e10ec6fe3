#include "shell/Main.h"
#include "Version.h"
#include "dialogs/Dialogs.h"
#include "export/ChannelWorkbooks.h"
#include "export/ExportContext.h"
#include "export/ReportExportStep.h"
#include "host/app/BuiltinApplicationFactory.h"
#include "platform/DurableFile.h"
#include "platform/PlatformConfig.h"
#include "platform/TerminationSignals.h"
#include "platform/widgets/QtPrompts.h"
#include "shell/ExportSummary.h"
#include "shell/FrmMain.h"

#include <QApplication>
#include <QStandardPaths>

#include <filesystem>

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
    kelvor::QtPrompts prompts;

    // The built-in spreadsheet application keeps its workbook files in the folder the
    // settings file names (beside the settings file by default).
    const QString programFolder = QApplication::applicationDirPath();
    const kelvor::PlatformConfig platform =
        kelvor::readPlatformConfig(kelvor::iniPathIn(programFolder));
    // Workbooks that cannot be written there when the program ends go to the user's
    // documents instead of being lost (a pulled drive, a full disk, a share gone away).
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const std::filesystem::path rescueFolder =
        documents.isEmpty()
            ? std::filesystem::path()
            : std::filesystem::path(documents.toStdString()) / "KelvorReader2 rescued workbooks";
    // A workbook that cannot be written is told without holding up the exports: the reader
    // may be alone for days, and the next report is the workbook's next chance. Only the
    // last word, when the program ends, waits to be read.
    bool ending = false;
    kelvor::host::BuiltinApplicationFactory spreadsheets(
        platform.workbookFolder,
        [&prompts, &ending](const std::string& message) {
            if (ending) {
                prompts.show(message, kelvor::ProgramTitle, kelvor::PromptIcon::Exclamation,
                             kelvor::PromptButtons::Ok);
            } else {
                prompts.notice(message, kelvor::ProgramTitle, kelvor::PromptIcon::Exclamation);
            }
        },
        {.rescueFolder = rescueFolder});
    kelvor::ExportContext exportContext(spreadsheets, prompts, state.ChannelInfo,
                                        state.SummaryTraceOffset);
    kelvor::ReportExportStep exporter(exportContext);

    kelvor::FrmMain frmMain(
        state, {.prompts = prompts, .exporter = exporter, .makePort = {}, .releaseExcel = [&] {
                    ending = true;
                    kelvor::ReleaseExcel(exportContext);
                }});
    QObject::connect(&frmMain, &kelvor::FrmMain::unloaded, &app, &QApplication::quit,
                     Qt::QueuedConnection);
    kelvor::ExportSummary summary(exportContext, state.ChannelInfo);
    kelvor::Dialogs dialogs(
        frmMain,
        {.state = state, .CommStart = frmMain.CommStart(), .prompts = prompts, .summary = summary});
    frmMain.setSetupOpener([&dialogs] { dialogs.showSetup(); });
    kelvor::TerminationSignals termination([&frmMain] { frmMain.close(); });

    frmMain.load(programFolder);
    frmMain.show();
    return QApplication::exec();
}
