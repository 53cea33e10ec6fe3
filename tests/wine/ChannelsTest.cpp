// Several channels of the Windows reader under Wine: lines that carry reports at the same time,
// and a port that is not there.
#include "ComLine.h"
#include "Samples.h"
#include "WindowsReader.h"
#include "WorkbookParts.h"

#include "ProcessHarness.h"

#include <gtest/gtest.h>

namespace kelvor::test {
namespace {

class WindowsChannels : public ::testing::Test {
protected:
    void SetUp() override {
        if (const QString why = wineSkipReason(); !why.isEmpty()) {
            GTEST_SKIP() << why.toStdString();
        }
    }
};

// Whether the data sheet holds the report of the given sample (a cell ends in its ID).
bool holdsSample(const WorkbookParts& parts, const QString& sheet, const char* sampleId) {
    return sheetXml(parts, sheet).find(std::string(sampleId) + "</t>") != std::string::npos;
}

TEST_F(WindowsChannels, ReportsArrivingTogetherOnTwoLinesGoIntoTheirChannelsWorkbooks) {
    const QByteArray bottle = sampleReport("rate-bottle-topload-kgf-mm-300.txt");
    const QByteArray shipper = sampleReport("rate-shipper-lbf-in-50.txt");
    const QByteArray creep = sampleReport("load-bottle-creep-no-humidity-kgf-mm.txt");
    const QByteArray core = sampleReport("rate-paper-core-n-mm-150.txt");
    ComLine lineA(comLink(5));
    ComLine lineB(comLink(6));
    WindowsReader reader;
    reader.writeSettings(settingsFor({{0, "Press A", 5}, {1, "Press B", 6}}));
    reader.start();
    ASSERT_TRUE(reader.waitForLog("Channel 1 (Press A): port 5 opened"));
    ASSERT_TRUE(reader.waitForLog("Channel 2 (Press B): port 6 opened"));

    // A's first report takes four seconds; B's first ends and its second begins meanwhile.
    lineA.send(bottle);
    lineB.send(shipper);
    ASSERT_TRUE(reader.waitForLog("Channel 2 (Press B): report received"));
    EXPECT_FALSE(lineA.idle());
    lineB.send(creep);
    ASSERT_TRUE(reader.waitForLog("Channel 1 (Press A): report received"));
    lineA.send(core);
    ASSERT_TRUE(reader.waitForLog("report exported to", 4)) << reader.logText().toStdString();

    const QStringList books = workbookFiles(reader.workbookFolder());
    ASSERT_EQ(books.size(), 2) << books.join(", ").toStdString();
    ASSERT_TRUE(books[0].startsWith("Press A ") && books[1].startsWith("Press B "));
    const WorkbookParts a = partsOf(reader.workbookFolder() + "/" + books[0]);
    const WorkbookParts b = partsOf(reader.workbookFolder() + "/" + books[1]);
    EXPECT_TRUE(holdsSample(a, "Data 1", "PET-500-L17"));
    EXPECT_TRUE(holdsSample(a, "Data 2", "CORE-76-A"));
    EXPECT_TRUE(holdsSample(b, "Data 1", "RSC-12x10x8"));
    EXPECT_TRUE(holdsSample(b, "Data 2", "PET-500-L17"));
    EXPECT_FALSE(sheetNames(a).contains("Data 3"));
    EXPECT_FALSE(sheetNames(b).contains("Data 3"));

    const auto archivedA = archivedReports(reader.workbookFolder(), 1);
    const auto archivedB = archivedReports(reader.workbookFolder(), 2);
    ASSERT_EQ(archivedA.size(), 2);
    ASSERT_EQ(archivedB.size(), 2);
    EXPECT_TRUE(archivedA[0].second == bottle && archivedA[1].second == core);
    EXPECT_TRUE(archivedB[0].second == shipper && archivedB[1].second == creep);
}

} // namespace
} // namespace kelvor::test
