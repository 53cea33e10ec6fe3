// The Windows reader under Wine ended by its windows' close message while a report arrives,
// as Windows' task manager or the end of a session asks a program to end.
#include "ComLine.h"
#include "ProcessHarness.h"
#include "Samples.h"
#include "WindowsReader.h"
#include "WorkbookParts.h"

#include <gtest/gtest.h>

#include <QRegularExpression>
#include <QTest>

namespace kelvor::test {
namespace {

// Blank lines between sections are layout, not content.
QString withoutBlankLines(QString text) {
    text.replace("\r\n", "\n");
    while (text.contains("\n\n")) {
        text.replace("\n\n", "\n");
    }
    return text;
}

// Every setting, the window's place being wherever the window manager put it.
QString everySetting() {
    QString text = "[KelvorReaderCH0]\nDescription=Press A\nCommPort=5\nEnabled=1\n"
                   "[KelvorReader]\nTop=N\nLeft=N\nSummaryTraceOffset=0.5\n";
    for (int n = 1; n < 6; ++n) {
        text += QString("[KelvorReaderCH%1]\nDescription=Com Channel %2\nCommPort=%2\nEnabled=0\n")
                    .arg(n)
                    .arg(n + 1);
    }
    return text;
}

QString withoutPlace(QString settings) {
    static const QRegularExpression place("^(Top|Left)=-?\\d+$",
                                          QRegularExpression::MultilineOption);
    return settings.replace(place, "\\1=N");
}

TEST(WindowsEnding, CloseMessageWhileAReportArrivesArchivesAndExportsItAndWritesTheSettings) {
    if (const QString why = wineSkipReason(); !why.isEmpty()) {
        GTEST_SKIP() << why.toStdString();
    }
    if (qEnvironmentVariableIsEmpty("DISPLAY")) {
        GTEST_SKIP() << "the close message needs a window: no X display";
    }
    ComLine line(comLink(5));
    WindowsReader reader;
    reader.writeSettings(settingsFor({{0, "Press A", 5}}));
    reader.start("windows");
    ASSERT_TRUE(reader.waitForLog("Channel 1 (Press A): port 5 opened"));

    // Sixteen seconds of report: the close comes while it is still arriving.
    const QByteArray report = sampleReport("rate-doublewall-box-lbf-in-1000.txt");
    line.send(report);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            const auto files = archivedReports(reader.workbookFolder(), 1);
            return !files.isEmpty() && files[0].second.size() >= 600;
        },
        20000));
    reader.closeWindows();
    ASSERT_TRUE(reader.waitForExit()) << reader.logText().toStdString();
    EXPECT_FALSE(line.idle()) << "the report ended before the reader did";
    EXPECT_EQ(reader.exitCode(), 0);

    const QString log = reader.logText();
    EXPECT_TRUE(log.trimmed().endsWith("Reader ended")) << log.toStdString();
    EXPECT_TRUE(log.contains(QRegularExpression("Channel 1 \\(Press A\\): report received, \\d+ "
                                                "bytes, cut short, archived as ")))
        << log.toStdString();
    EXPECT_TRUE(log.contains("Channel 1 (Press A): report exported to Press A "))
        << log.toStdString();
    const auto archived = archivedReports(reader.workbookFolder(), 1);
    ASSERT_EQ(archived.size(), 1);
    EXPECT_TRUE(archived[0].first.endsWith(" (cut short).txt")) << archived[0].first.toStdString();
    EXPECT_TRUE(report.startsWith(archived[0].second));
    EXPECT_LT(archived[0].second.size(), report.size());
    const QStringList books = workbookFiles(reader.workbookFolder());
    ASSERT_EQ(books.size(), 1);
    EXPECT_TRUE(sheetNames(partsOf(reader.workbookFolder() + "/" + books[0])).contains("Data 1"));

    EXPECT_EQ(withoutPlace(withoutBlankLines(reader.settingsText())), everySetting());
}

} // namespace
} // namespace kelvor::test
