// Awkward text typed into the setup dialog, through the settings file and back at the next
// start.
#include "DialogFixture.h"
#include "platform/IniFile.h"
#include "shell/Settings.h"
#include "util/AnsiText.h"

#include <QFile>
#include <QLineEdit>
#include <QRegularExpression>
#include <QTemporaryDir>

namespace kelvor {
namespace {

// The first `count` characters of `pattern` repeated.
QString repeatTo(const QString& pattern, int count) {
    QString text;
    while (text.size() < count) {
        text += pattern;
    }
    return text.left(count);
}

class SetupSettingsTest : public DialogFixture {
protected:
    QTemporaryDir dir;
    std::string path = dir.filePath("KelvrReader.ini").toStdString();
    const std::string others = "; kept by hand\n[KelvorReaderPorts]\nCom1=/dev/ttyUSB7\n"
                               "[KelvorReaderWorkbooks]\nFolder=/srv/work books\n";

    void SetUp() override {
        DialogFixture::SetUp();
        QFile file(QString::fromStdString(path));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(others.data(), static_cast<qint64>(others.size()));
        file.close();
        SettingsValues values{.channels = state.ChannelInfo};
        LoadSaveSettings(SettingsRead, path, values, prompts, locale);
        state.SummaryTraceOffset = values.SummaryTraceOffset;
    }
    // What the main window does when it unloads.
    void writeAtExit() {
        SettingsValues values{.Top = 15.0F,
                              .Left = 30.0F,
                              .SummaryTraceOffset = state.SummaryTraceOffset,
                              .channels = state.ChannelInfo};
        LoadSaveSettings(SettingsWrite, path, values, prompts, locale);
    }
    // What the next start reads.
    SettingsValues readAtStart(ChannelTable& channels) {
        SettingsValues values{.channels = channels};
        LoadSaveSettings(SettingsRead, path, values, prompts, locale);
        return values;
    }
    void expectOtherKeysIntact() {
        QFile file(QString::fromStdString(path));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(file.readAll());
        EXPECT_TRUE(text.startsWith(QString::fromStdString(others))) << text.toStdString();
        EXPECT_EQ(text.count(QRegularExpression("^\\[KelvorReaderCH\\d\\]$",
                                                QRegularExpression::MultilineOption)),
                  6);
        EXPECT_EQ(findProfileString("KelvorReaderPorts", "Com1", path), "/dev/ttyUSB7");
        EXPECT_EQ(findProfileString("KelvorReaderWorkbooks", "Folder", path), "/srv/work books");
        EXPECT_EQ(findProfileString("KelvorReader", "Left", path), "30");
    }
};

TEST_F(SetupSettingsTest, LongDescriptionsWithIniCharactersComeBackAsTheirFirst127) {
    const QString descriptions[ChannelCount] = {
        repeatTo("a=b=c; ", 500),
        repeatTo("[KelvorReaderCH0] ", 500),
        "\"" + repeatTo("quoted \"inner\" 'single' ", 498) + "\"",
        repeatTo(QString::fromUtf8("Prüfstand Ж 试验机 \U0001F527 "), 500),
        "  " + repeatTo(";Enabled=1 ", 496) + "  ",
        QString(126, 'x') + QString::fromUtf8("Ж") + QString(373, 'y'),
    };
    FrmSetup& setup = openSetup();
    for (int n = 0; n < ChannelCount; ++n) {
        setup.TextDesc(n).setText(descriptions[n]);
    }
    setup.Command1Click(0);
    ASSERT_EQ(dialogs->setup(), nullptr);
    EXPECT_EQ(state.ChannelInfo[3].Description, descriptions[3].toStdString());
    writeAtExit();

    ChannelTable channels;
    const SettingsValues values = readAtStart(channels);
    EXPECT_TRUE(prompts.shown.empty());
    for (int n = 0; n < ChannelCount; ++n) {
        EXPECT_EQ(channels[n].Description, firstCodePoints(descriptions[n].toStdString(), 127))
            << n;
        EXPECT_EQ(channels[n].CommPort, n + 1);
        EXPECT_EQ(channels[n].Enabled, 0);
    }
    EXPECT_FLOAT_EQ(values.SummaryTraceOffset, 0.5F);
    expectOtherKeysIntact();
}

TEST_F(SetupSettingsTest, OddTraceOffsetsAreStoredAsNumbersTheNextStartReads) {
    const struct {
        QString typed;
        const char* written;
        float readBack;
    } cases[] = {
        {"-0", "0", 0.0F},
        {"NaN", "0", 0.0F},
        {QString(300, '0') + "12", "12", 12.0F},
        {"0." + QString(300, '0') + "1", "0", 0.0F},
        {"1e400", "0.5", 0.5F},           // refused: the earlier value stays
        {QString(300, '9'), "0.5", 0.5F}, // refused as well
    };
    for (const auto& c : cases) {
        state.SummaryTraceOffset = 0.5F;
        openSetup().TraceOffset().setText(c.typed);
        dialogs->setup()->Command1Click(0);
        if (dialogs->setup() != nullptr) {
            dialogs->setup()->close();
        }
        settle();
        writeAtExit();
        EXPECT_EQ(findProfileString("KelvorReader", "SummaryTraceOffset", path), c.written)
            << c.typed.left(20).toStdString();
        ChannelTable channels;
        EXPECT_EQ(readAtStart(channels).SummaryTraceOffset, c.readBack);
    }
    EXPECT_EQ(prompts.count("The summary trace offset is too large."), 2U);
    EXPECT_EQ(prompts.shown.size(), 2U); // no settings file problem
    expectOtherKeysIntact();
}

} // namespace
} // namespace kelvor
