// How quickly the workbook window opens and switches sheets on a channel workbook of 300
// tests made by the real export. Prints the times; run by hand:
//
//   build/bench/kelvor_view_bench [tests] [points]      (default 300 tests of 250 points)
#include "export/ExportContext.h"
#include "export/ReportExportStep.h"
#include "host/app/automation/BuiltinApplication.h"
#include "host/app/automation/BuiltinApplicationFactory.h"
#include "platform/Prompts.h"
#include "workbookview/ChartView.h"
#include "workbookview/WorkbookWindow.h"

#include <QApplication>
#include <QTemporaryDir>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

using namespace kelvor;
using Clock = std::chrono::steady_clock;

class SilentPrompts final : public Prompts {
public:
    PromptResult show(const std::string&, const std::string&, PromptIcon, PromptButtons) override {
        return PromptResult::Ok;
    }
    void beep() override {}
};

std::string rateReport(int points, int seed) {
    std::string text = "CONSTANT RATE TEST DATA\r\nBENCH UNIT\r\nForce units in lbf\r\n"
                       "Deflection units in in\r\nDate: 4/2/24\r\nSample ID: B-" +
                       std::to_string(seed) +
                       "\r\nOperator: QA\r\nPreload 2.0 lbf\r\nTest Speed: 0.50 in/min\r\n"
                       "Board Grade: 44 ECT\r\nPeak Force: " +
                       std::to_string(900 + seed % 200) +
                       "\r\nDeformation at Peak: 0.4\r\nTest stopped at 40% drop\r\n" +
                       std::to_string(points) + " POINTS\r\nDEFLECTION,FORCE\r\n";
    for (int i = 1; i <= points; ++i) {
        const double x = 0.005 * i;
        const double y = (900 + seed % 200) * std::sin(3.14159 * i / points);
        text += std::to_string(x) + "," + std::to_string(y) + "\r\n";
    }
    return text;
}

double msSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Lets the window lay out and paint what it shows, as the screen would.
void settle(QWidget& window) {
    QApplication::processEvents();
    window.grab(); // paints every visible widget once
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    const int tests = argc > 1 ? std::atoi(argv[1]) : 300;
    const int points = argc > 2 ? std::atoi(argv[2]) : 250;

    QTemporaryDir dir;
    SilentPrompts prompts;
    BuiltinApplicationFactory factory(dir.filePath("Workbooks").toStdString());
    ChannelTable channels;
    channels[0].Description = "Bench press";
    float offset = 0.5F;
    ExportContext ctx(factory, prompts, channels, offset);
    ReportExportStep step(ctx);
    const auto made = Clock::now();
    for (int t = 0; t < tests; ++t) {
        std::string text = rateReport(points, t);
        step.exportReport(0, text, "", channels[0].WorkbookIndex);
    }
    std::printf("workbook of %d tests, %d points each, exported in %.1f s\n", tests, points,
                msSince(made) / 1000);
    auto& builtin = dynamic_cast<BuiltinApplication&>(*ctx.ExcelApp);
    const auto book = builtin.openBook(channels[0].WorkbookIndex);
    std::printf("%zu sheets\n", book->model.sheetCount());

    auto start = Clock::now();
    {
        const auto& model = book->model;
        const auto* plot = asChartSheet(model.sheet(*model.indexOf("Summary Plot")));
        ChartView chart(plot->chart());
        std::printf("summary plot of %zu series drawn alone:%*s%8.1f ms\n",
                    plot->chart().series.size(), 1, "", msSince(start));
    }
    start = Clock::now();
    WorkbookWindow window(book, "Bench press");
    const double built = msSince(start);
    window.show();
    QApplication::processEvents();
    const double shown = msSince(start);
    settle(window);
    std::printf("open window (on %s):%*s%8.1f ms (made %.1f, shown %.1f)\n",
                window.currentTab().toUtf8().constData(), 8, "", msSince(start), built, shown);

    const QString last = QString("Data %1").arg(tests);
    for (const QString& tab : {QString("Data 1"), QString("Data 1 Plot"), last, last + " Plot",
                               QString("Summary"), QString("Summary Plot"), QString("Data 1")}) {
        start = Clock::now();
        window.showTab(tab);
        settle(window);
        std::printf("switch to %-20s %8.1f ms\n", tab.toUtf8().constData(), msSince(start));
    }

    // One more export while the window is open: the export itself and the window following.
    std::string text = rateReport(points, tests);
    start = Clock::now();
    step.exportReport(0, text, "", channels[0].WorkbookIndex);
    const double exported = msSince(start);
    start = Clock::now();
    window.refresh();
    settle(window);
    std::printf("export %d: %.1f ms, window follows: %.1f ms (shows %s)\n", tests + 1, exported,
                msSince(start), window.currentTab().toUtf8().constData());
    return 0;
}
