#include "shell/Main.h"
#include "Version.h"
#include "platform/TerminationSignals.h"
#include "platform/widgets/QtPrompts.h"
#include "shell/FrmMain.h"

#include <QApplication>

#include <iostream>

namespace {

// Stands in for the spreadsheet export until it is wired in: the report is reported on the
// console and taken off the channel.
class ConsoleExport final : public kelvor::ReportExport {
public:
    void exportReport(int channel, std::string& reportText, std::int32_t&) override {
        std::cerr << "kelvor-reader: report of " << reportText.size()
                  << " characters complete on channel " << channel << '\n';
        reportText.clear();
    }
};

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(kelvor::ProgramTitle);
    // The main window is a tool window, which the toolkit does not count as the last window;
    // the program ends when the main window has unloaded.
    QApplication::setQuitOnLastWindowClosed(false);

    kelvor::AppState state;
    kelvor::Main(state);
    kelvor::QtPrompts prompts;
    ConsoleExport exporter;
    kelvor::FrmMain frmMain(
        state, {.prompts = prompts, .exporter = exporter, .makePort = {}, .releaseExcel = {}});
    QObject::connect(&frmMain, &kelvor::FrmMain::unloaded, &app, &QApplication::quit,
                     Qt::QueuedConnection);
    kelvor::TerminationSignals termination([&frmMain] { frmMain.close(); });

    frmMain.load(QApplication::applicationDirPath());
    frmMain.show();
    return QApplication::exec();
}
