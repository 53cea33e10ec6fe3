// The Windows build under Wine and the Linux build, given the same reports over their lines,
// archive the same bytes and write the same workbook.
#include "ComLine.h"
#include "ProcessHarness.h"
#include "Samples.h"
#include "WindowsReader.h"
#include "WorkbookParts.h"

#include <gtest/gtest.h>

#include <regex>

#include <QDir>
#include <QRegularExpression>
#include <QTest>

#include <csignal>

namespace kelvor::test {
namespace {

QString onlyWorkbook(const QString& folder) {
    const QStringList names = workbookFiles(folder);
    EXPECT_EQ(names.size(), 1) << folder.toStdString();
    EXPECT_TRUE(names.value(0).startsWith("Press A 2")) << names.value(0).toStdString();
    return folder + "/" + names.value(0);
}

TEST(WorkbookAgreement, ReportsOfBothKindsGiveTheWorkbookAndArchiveOfTheLinuxBuild) {
    if (const QString why = wineSkipReason(); !why.isEmpty()) {
        GTEST_SKIP() << why.toStdString();
    }
    // Rate tests with ° and µ in their labels (Windows-1252 on the line) and a creep test whose
    // dates cross midnight: two rate tests and more make a Summary.
    const QList<QByteArray> reports{sampleReport("rate-shipper-lbf-in-50.txt"),
                                    sampleReport("rate-paper-core-n-mm-150.txt"),
                                    sampleReport("load-bottle-creep-no-humidity-kgf-mm.txt"),
                                    sampleReport("rate-bottle-topload-kgf-mm-300.txt")};
    const QByteArray settings = settingsFor({{0, "Press A", 5}});

    ComLine windowsLine(comLink(5));
    WindowsReader windows;
    windows.writeSettings(settings);
    ReaderInFolder linux;
    ComLine linuxLine(linux.folder() + "/line5");
    linux.writeSettings(settings + "[KelvorReaderPorts]\r\nCom5=" + linuxLine.device().toUtf8() +
                        "\r\n");
    linux.start();
    windows.start();
    ASSERT_TRUE(windows.waitForLog("Channel 1 (Press A): port 5 opened"))
        << windows.logText().toStdString();
    ASSERT_TRUE(QTest::qWaitFor([&] { return linux.logText().contains("port 5 opened"); }, 20000));

    // One report at a time into both, the next once both have exported the last.
    for (int n = 1; n <= reports.size(); ++n) {
        windowsLine.send(reports[n - 1]);
        linuxLine.send(reports[n - 1]);
        ASSERT_TRUE(windows.waitForLog("report exported to", n)) << windows.logText().toStdString();
        ASSERT_TRUE(QTest::qWaitFor(
            [&] { return linux.logText().count("report exported to") >= n; }, 30000))
            << linux.logText().toStdString();
    }
    linux.stopWith(SIGTERM);

    const auto windowsParts = partsOf(onlyWorkbook(windows.workbookFolder()));
    const auto linuxParts = partsOf(onlyWorkbook(linux.workbookFolder()));
    ASSERT_FALSE(linuxParts.empty());
    EXPECT_TRUE(sheetNames(linuxParts).contains("Summary"));
    // The paper follows each system's locale (Letter under this Wine, A4 in a plain Linux
    // environment); everything else must agree.
    const auto withoutPaper = [](std::string xml) {
        static const std::regex paper(R"( paperSize="[0-9]+")");
        return std::regex_replace(xml, paper, "");
    };
    for (const auto& [name, content] : linuxParts) {
        const auto found = windowsParts.find(name);
        if (found == windowsParts.end()) {
            ADD_FAILURE() << "the Windows build wrote no " << name;
        } else {
            EXPECT_TRUE(withoutPaper(found->second) == withoutPaper(content))
                << name << " differs:\n"
                << found->second.substr(0, 2000) << "\nLinux:\n"
                << content.substr(0, 2000);
        }
    }
    EXPECT_EQ(windowsParts.size(), linuxParts.size());

    const auto archived = archivedReports(windows.workbookFolder(), 1);
    ASSERT_EQ(archived.size(), reports.size());
    static const QRegularExpression archiveName(R"(^\d{4}-\d\d-\d\d \d\d-\d\d-\d\d\.txt$)");
    for (int n = 0; n < reports.size(); ++n) {
        EXPECT_TRUE(archiveName.match(archived[n].first).hasMatch())
            << archived[n].first.toStdString();
        EXPECT_TRUE(archived[n].second == reports[n]) << archived[n].first.toStdString();
    }
    EXPECT_TRUE(QDir(windows.workbookFolder())
                    .entryList({"*kelvor-tmp*"}, QDir::Files | QDir::Hidden)
                    .isEmpty());
}

} // namespace
} // namespace kelvor::test
