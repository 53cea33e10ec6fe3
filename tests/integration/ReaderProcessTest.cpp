// The real program, started as a process in a folder of its own and stopped by a signal.
#include "ProcessHarness.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

namespace kelvor::test {
namespace {

QString freshSettings() {
    QString text = "[KelvorReader]\nTop=0\nLeft=2880\nSummaryTraceOffset=0.5\n";
    for (int n = 0; n < 6; ++n) {
        text += QString("[KelvorReaderCH%1]\nDescription=Com Channel %2\nCommPort=%2\nEnabled=0\n")
                    .arg(n)
                    .arg(n + 1);
    }
    return text;
}

// Blank lines between sections are layout, not content.
QString withoutBlankLines(QString text) {
    while (text.contains("\n\n")) {
        text.replace("\n\n", "\n");
    }
    return text;
}

TEST(ReaderProcess, SigtermOnFirstRunWritesAllDefaultSettings) {
    ReaderInFolder reader;
    ASSERT_FALSE(QFile::exists(reader.iniPath()));
    reader.start();
    reader.stopWith(SIGTERM);
    EXPECT_EQ(withoutBlankLines(reader.settingsText()), freshSettings());
}

TEST(ReaderProcess, SigintKeepsAMovedWindowAndOtherSettings) {
    ReaderInFolder reader;
    reader.writeSettings("; lab PC 3\n[KelvorReader]\nTop=1500\nLeft=300\nSummaryTraceOffset=0.25\n"
                         "[KelvorReaderCH2]\nDescription=Press B\n");
    reader.start();
    reader.stopWith(SIGINT);
    const QString text = reader.settingsText();
    EXPECT_TRUE(text.startsWith("; lab PC 3\n"));
    EXPECT_TRUE(text.contains("Top=1500\n"));
    EXPECT_TRUE(text.contains("Left=300\n"));
    EXPECT_TRUE(text.contains("SummaryTraceOffset=0.25\n"));
    EXPECT_TRUE(text.contains("Description=Press B\n"));
    EXPECT_TRUE(text.contains("Description=Com Channel 6\n"));
}

} // namespace
} // namespace kelvor::test
