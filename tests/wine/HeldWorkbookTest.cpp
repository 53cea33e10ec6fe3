// A workbook file of the Windows reader under Wine held open by another Windows program, as a
// spreadsheet program showing it does: the reader says so once, loses nothing, and writes the
// file again once it is let go.
#include "ComLine.h"
#include "ProcessHarness.h"
#include "Samples.h"
#include "WindowsReader.h"
#include "WineHelper.h"
#include "WorkbookParts.h"

#include <gtest/gtest.h>

#include <QDir>

namespace kelvor::test {
namespace {

const char* const HeldOpenNotice = "is open in another program and cannot be written until it is "
                                   "closed there. The workbook stays open and is written again "
                                   "after the next report.";

TEST(WindowsHeldWorkbook, IsToldOnceAndWrittenWithEveryReportAfterTheNextOneOnceLetGo) {
    if (const QString why = wineSkipReason(); !why.isEmpty()) {
        GTEST_SKIP() << why.toStdString();
    }
    if (WineHelper::program().isEmpty()) {
        GTEST_SKIP() << "kelvor-wine-helper.exe was not built beside the Windows program folder";
    }
    ComLine line(comLink(5));
    WindowsReader reader;
    reader.writeSettings(settingsFor({{0, "Press A", 5}}));
    reader.start();
    ASSERT_TRUE(reader.waitForLog("Channel 1 (Press A): port 5 opened"));
    const QByteArray report = sampleReport("rate-shipper-lbf-in-50.txt");
    auto exportOne = [&](int n) {
        line.send(report);
        return reader.waitForLog("report exported to", n);
    };
    ASSERT_TRUE(exportOne(1)) << reader.logText().toStdString();
    const QStringList books = workbookFiles(reader.workbookFolder());
    ASSERT_EQ(books.size(), 1);
    const QString book = reader.workbookFolder() + "/" + books[0];
    const QStringList firstSheets = sheetNames(partsOf(book));

    WineHelper spreadsheet;
    ASSERT_EQ(spreadsheet.ask("hold " + windowsPath(book)), "held");
    ASSERT_TRUE(exportOne(2)) << reader.logText().toStdString();
    ASSERT_TRUE(exportOne(3)) << reader.logText().toStdString();
    EXPECT_EQ(reader.logText().count(HeldOpenNotice), 1) << reader.logText().toStdString();
    // The box names the file as Windows does, so the user can find it.
    EXPECT_TRUE(reader.logText().contains("The workbook file " + windowsPath(book) + " is open"))
        << "not named " << windowsPath(book).toStdString();
    // The file as it was before it was taken.
    EXPECT_EQ(sheetNames(partsOf(book)).join(", "), firstSheets.join(", "));

    ASSERT_EQ(spreadsheet.ask("release"), "released");
    ASSERT_TRUE(exportOne(4)) << reader.logText().toStdString();
    const QStringList sheets = sheetNames(partsOf(book));
    for (const char* name : {"Data 1", "Data 2", "Data 3", "Data 4", "Summary"}) {
        EXPECT_TRUE(sheets.contains(name)) << name << " not in " << sheets.join(", ").toStdString();
    }
    EXPECT_EQ(reader.logText().count(HeldOpenNotice), 1);
    EXPECT_EQ(workbookFiles(reader.workbookFolder()).join(", "), books.join(", "));
    EXPECT_TRUE(QDir(reader.workbookFolder())
                    .entryList({"*kelvor-tmp*"}, QDir::Files | QDir::Hidden)
                    .isEmpty());
    EXPECT_EQ(archivedReports(reader.workbookFolder(), 1).size(), 4);
}

} // namespace
} // namespace kelvor::test
