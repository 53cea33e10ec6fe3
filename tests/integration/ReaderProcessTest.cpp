// The real program, started as a process in a folder of its own and stopped by a signal.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

namespace {

QString readerBinary() {
    return QString(KELVOR_BINARY_DIR) + "/kelvor-reader";
}

// The program keeps its settings beside its executable, so each run gets a private copy.
struct ReaderInFolder {
    QTemporaryDir dir;
    QProcess process;

    ReaderInFolder() {
        const QString target = dir.filePath("kelvor-reader");
        EXPECT_TRUE(QFile::copy(readerBinary(), target));
        QFile::setPermissions(target, QFile::permissions(target) | QFile::ExeOwner);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        process.setProcessEnvironment(env);
        process.setProgram(target);
    }
    QString iniPath() const { return dir.filePath("KelvrReader.ini"); }

    // The kernel lists the signals a process catches; once SIGINT and SIGTERM are among
    // them, a signal ends the program through its own handler.
    bool catchesTerminationSignals() const {
        QFile status(QString("/proc/%1/status").arg(process.processId()));
        if (!status.open(QIODevice::ReadOnly)) {
            return false;
        }
        for (const QByteArray& line : status.readAll().split('\n')) {
            if (line.startsWith("SigCgt:")) {
                const unsigned long long mask = line.mid(7).trimmed().toULongLong(nullptr, 16);
                const unsigned long long wanted = (1ULL << (SIGINT - 1)) | (1ULL << (SIGTERM - 1));
                return (mask & wanted) == wanted;
            }
        }
        return false;
    }

    void startAndWaitForSettingsFile() {
        process.start();
        ASSERT_TRUE(process.waitForStarted(10000));
        ASSERT_TRUE(QTest::qWaitFor([&] { return catchesTerminationSignals(); }, 20000));
        ASSERT_TRUE(QTest::qWaitFor([&] { return QFile::exists(iniPath()); }, 20000));
    }
    void stopWith(int sig) {
        ::kill(static_cast<pid_t>(process.processId()), sig);
        ASSERT_TRUE(process.waitForFinished(20000));
        EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(process.exitCode(), 0);
    }
    QString settingsText() const {
        QFile file(iniPath());
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        return QString::fromUtf8(file.readAll()).replace("\r\n", "\n");
    }
};

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
    reader.startAndWaitForSettingsFile();
    reader.stopWith(SIGTERM);
    EXPECT_EQ(withoutBlankLines(reader.settingsText()), freshSettings());
}

TEST(ReaderProcess, SigintKeepsAMovedWindowAndOtherSettings) {
    ReaderInFolder reader;
    {
        QFile file(reader.iniPath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("; lab PC 3\n[KelvorReader]\nTop=1500\nLeft=300\nSummaryTraceOffset=0.25\n"
                   "[KelvorReaderCH2]\nDescription=Press B\n");
    }
    reader.startAndWaitForSettingsFile();
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
