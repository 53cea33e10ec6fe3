#include "shell/Settings.h"

#include "ScriptedPrompts.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include <unistd.h>

namespace kelvor {
namespace {

const QLocale English(QLocale::English, QLocale::UnitedStates);
const QLocale German(QLocale::German, QLocale::Germany);
const std::string UUmlaut = "\xc3\xbc"; // UTF-8

std::string freshFile() {
    std::string text = "[KelvorReader]\nTop=0\nLeft=2880\nSummaryTraceOffset=0.5\n";
    for (int n = 0; n < ChannelCount; ++n) {
        text += "\n[KelvorReaderCH" + std::to_string(n) + "]\nDescription=Com Channel " +
                std::to_string(n + 1) + "\nCommPort=" + std::to_string(n + 1) + "\nEnabled=0\n";
    }
    return text;
}

class SettingsTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    std::string path = dir.filePath("KelvrReader.ini").toStdString();
    ChannelTable channels;
    SettingsValues values{.channels = channels};
    ScriptedPrompts prompts;

    void setContent(const std::string& bytes) {
        QFile file(QString::fromStdString(path));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes.data(), static_cast<qint64>(bytes.size()));
    }
    std::string content() const {
        QFile file(QString::fromStdString(path));
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        return file.readAll().toStdString();
    }
    void run(std::int32_t action, const QLocale& locale = English) {
        LoadSaveSettings(action, path, values, prompts, locale);
    }
    void expectProblems(std::size_t count) const {
        ASSERT_EQ(prompts.shown.size(), count);
        for (const auto& shown : prompts.shown) {
            EXPECT_EQ(shown.text, "INI file problem: " + path);
            EXPECT_EQ(shown.title, "KelvorReader2");
            EXPECT_EQ(shown.icon, PromptIcon::Critical);
            EXPECT_EQ(shown.buttons, PromptButtons::Ok);
        }
    }
};

TEST_F(SettingsTest, FirstRunCreatesTheFileAndWritesAllKeysInOrder) {
    values.Top = 999; // the window's position before the read
    run(SettingsRead);
    EXPECT_TRUE(QFile::exists(QString::fromStdString(path)));
    EXPECT_EQ(content(), "");
    expectProblems(0);
    EXPECT_EQ(values.Top, 0.0F);
    EXPECT_EQ(values.Left, 2880.0F);
    EXPECT_EQ(values.SummaryTraceOffset, 0.5F);
    for (int n = 0; n < ChannelCount; ++n) {
        EXPECT_EQ(channels[n].Description, "Com Channel " + std::to_string(n + 1));
        EXPECT_EQ(channels[n].CommPort, n + 1);
        EXPECT_EQ(channels[n].Enabled, 0);
    }
    run(SettingsWrite);
    expectProblems(0);
    EXPECT_EQ(content(), freshFile());
}

TEST_F(SettingsTest, OtherActionsOnlyMakeSureTheFileExists) {
    channels[0].Description = "kept";
    run(0);
    EXPECT_EQ(content(), "");
    EXPECT_EQ(channels[0].Description, "kept");
}

TEST_F(SettingsTest, WrittenValuesReadBackTheSame) {
    values.Top = 1500.5F; // halves to even
    values.Left = -3.5F;
    values.SummaryTraceOffset = 0.125F;
    for (int n = 0; n < ChannelCount; ++n) {
        channels[n].Description = "Pr" + UUmlaut + "fstand " + std::to_string(n);
        channels[n].Enabled = n % 2;
        channels[n].CommPort = 10 + n;
    }
    run(SettingsWrite);
    expectProblems(0);
    EXPECT_NE(content().find("Top=1500\nLeft=-4\nSummaryTraceOffset=0.125\n"), std::string::npos);

    ChannelTable readBack;
    SettingsValues fresh{.channels = readBack};
    LoadSaveSettings(SettingsRead, path, fresh, prompts, English);
    expectProblems(0);
    EXPECT_EQ(fresh.Top, 1500.0F);
    EXPECT_EQ(fresh.Left, -4.0F);
    EXPECT_EQ(fresh.SummaryTraceOffset, 0.125F);
    for (int n = 0; n < ChannelCount; ++n) {
        EXPECT_EQ(readBack[n].Description, channels[n].Description);
        EXPECT_EQ(readBack[n].CommPort, 10 + n);
        EXPECT_EQ(readBack[n].Enabled, n % 2);
    }
}

TEST_F(SettingsTest, NonNumericTopIsReportedTwiceAndTheRestIsStillRead) {
    setContent("[KelvorReader]\nTop=abc\nLeft=300\nSummaryTraceOffset=0.25\n"
               "[KelvorReaderCH0]\nDescription=Press A\n");
    values.Top = 77;
    run(SettingsRead);
    expectProblems(2);
    EXPECT_EQ(values.Top, 77.0F);
    EXPECT_EQ(values.Left, 300.0F);
    EXPECT_EQ(values.SummaryTraceOffset, 0.25F);
    EXPECT_EQ(channels[0].Description, "Press A");
}

TEST_F(SettingsTest, BadNumbersKeepWhatTheValueHeld) {
    // Left fits a single but not a 32-bit number: only the whole-number check fails.
    setContent("[KelvorReader]\nLeft=99999999999\nSummaryTraceOffset=1e39\n"
               "[KelvorReaderCH2]\nCommPort=99999999999\nEnabled=1e400\n");
    values.SummaryTraceOffset = 0.0F;
    channels[2].CommPort = 42;
    channels[2].Enabled = 1;
    run(SettingsRead);
    expectProblems(4);
    EXPECT_EQ(values.Left, 99999999999.0F);
    EXPECT_EQ(values.SummaryTraceOffset, 0.0F);
    EXPECT_EQ(channels[2].CommPort, 42);
    EXPECT_EQ(channels[2].Enabled, 1);
}

TEST_F(SettingsTest, PortAndEnabledAreReadLikeVal) {
    setContent("[KelvorReaderCH0]\nCommPort=2.5\nEnabled=1abc\n"
               "[KelvorReaderCH1]\nCommPort=3.5\nEnabled=yes\n"
               "[KelvorReaderCH2]\nCommPort=\nEnabled= - 1 \n"
               "[KelvorReaderCH3]\nCommPort=1 2\n");
    run(SettingsRead);
    expectProblems(0);
    EXPECT_EQ(channels[0].CommPort, 2);
    EXPECT_EQ(channels[0].Enabled, 1);
    EXPECT_EQ(channels[1].CommPort, 4);
    EXPECT_EQ(channels[1].Enabled, 0);
    EXPECT_EQ(channels[2].CommPort, 0);
    EXPECT_EQ(channels[2].Enabled, -1);
    EXPECT_EQ(channels[3].CommPort, 12);
}

TEST_F(SettingsTest, LongValuesAreCutAt127Characters) {
    const std::string umlaut = "\xc3\xa4";
    std::string wide;
    for (int i = 0; i < 200; ++i) {
        wide += umlaut;
    }
    setContent("[KelvorReaderCH0]\nDescription=" + std::string(200, 'a') +
               "\n[KelvorReaderCH1]\nDescription=" + std::string(10000, 'b') +
               "\n[KelvorReaderCH2]\nDescription=" + wide + "\n");
    run(SettingsRead);
    EXPECT_EQ(channels[0].Description, std::string(127, 'a'));
    EXPECT_EQ(channels[1].Description, std::string(127, 'b'));
    EXPECT_EQ(channels[2].Description, wide.substr(0, 127 * umlaut.size()));
}

TEST_F(SettingsTest, WindowsTextIsReadAsUtf8AndQuotesAreStripped) {
    setContent("[kelvorreader]\nTop='120'\n"
               "[KelvorReaderCH0]\nDescription=M\xfcller \x80 2\n"
               "[KelvorReaderCH1]\nDescription=\"  Press B  \"\n"
               "[KelvorReaderCH2]\nDescription=Caf\xc3\xa9\n");
    run(SettingsRead);
    expectProblems(0);
    EXPECT_EQ(values.Top, 120.0F);
    EXPECT_EQ(channels[0].Description, "M\xc3\xbcller \xe2\x82\xac 2");
    EXPECT_EQ(channels[1].Description, "  Press B  ");
    EXPECT_EQ(channels[2].Description, "Caf\xc3\xa9");
}

TEST_F(SettingsTest, FirstOfDuplicateSectionsAndKeysWins) {
    setContent("[KelvorReaderCH1]\nDescription=first\nDescription=second\n"
               "[KELVORREADERCH1]\nDescription=third\nEnabled=1\n");
    run(SettingsRead);
    EXPECT_EQ(channels[1].Description, "first");
    EXPECT_EQ(channels[1].Enabled, 0);
}

TEST_F(SettingsTest, WritingKeepsCommentsUnknownKeysAndGarbage) {
    const std::string garbage("\x01\x00\xfe\xff no key", 11);
    setContent("; lab PC 3\r\n[KelvorReader]\r\nTop=5\r\nTheme=dark\r\n" + garbage +
               "\r\n[KelvorReaderPorts]\r\nCom1=/dev/ttyUSB0\r\n");
    run(SettingsRead);
    values.Top = 1440;
    run(SettingsWrite);
    expectProblems(0);
    const std::string text = content();
    EXPECT_EQ(text.rfind("; lab PC 3\r\n[KelvorReader]\r\nTop=1440\r\nTheme=dark\r\n"
                         "Left=2880\r\nSummaryTraceOffset=0.5\r\n" +
                             garbage + "\r\n[KelvorReaderPorts]\r\nCom1=/dev/ttyUSB0\r\n",
                         0),
              0U);
    EXPECT_EQ(text.find("\n\n"), std::string::npos); // no lone LF in a CR LF file
    EXPECT_NE(text.find("[KelvorReaderCH5]\r\nDescription=Com Channel 6\r\nCommPort=6\r\n"
                        "Enabled=0\r\n"),
              std::string::npos);
}

TEST_F(SettingsTest, GermanLocaleReadsAndWritesTheDecimalComma) {
    setContent("[KelvorReader]\nTop=1.440\nSummaryTraceOffset=0,75\n"
               "[KelvorReaderCH0]\nCommPort=2,5\n");
    run(SettingsRead, German);
    expectProblems(0);
    EXPECT_EQ(values.Top, 1440.0F);
    EXPECT_EQ(values.SummaryTraceOffset, 0.75F);
    EXPECT_EQ(channels[0].CommPort, 2); // ports never follow the locale
    values.SummaryTraceOffset = 0.5F;
    run(SettingsWrite, German);
    EXPECT_NE(content().find("SummaryTraceOffset=0,5\n"), std::string::npos);
}

TEST_F(SettingsTest, PositionOutOfRangeIsReportedAndNotWritten) {
    values.Top = 1e10F;
    run(SettingsWrite);
    expectProblems(1);
    EXPECT_EQ(content().find("Top="), std::string::npos);
    EXPECT_NE(content().find("Left=0\n"), std::string::npos);
}

TEST_F(SettingsTest, UnwritableFolderIsReportedOnceAndDefaultsApply) {
    // A regular file where the folder should be stops every user, root included.
    setContent("");
    path += "/KelvrReader.ini";
    run(SettingsRead);
    expectProblems(1);
    EXPECT_EQ(values.Left, 2880.0F);
    EXPECT_EQ(channels[5].CommPort, 6);
    prompts.shown.clear();
    run(SettingsWrite);
    expectProblems(1);
}

TEST_F(SettingsTest, RefusedWritesAreReportedOnce) {
    if (::geteuid() == 0) {
        GTEST_SKIP() << "file permissions do not stop root";
    }
    setContent("[KelvorReader]\nTop=1\n");
    QFile::setPermissions(QString::fromStdString(path), QFileDevice::ReadOwner);
    run(SettingsWrite);
    expectProblems(1);
    EXPECT_EQ(content(), "[KelvorReader]\nTop=1\n");
}

} // namespace
} // namespace kelvor
