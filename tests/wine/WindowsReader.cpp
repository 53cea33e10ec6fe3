#include "WindowsReader.h"

#include "util/PathText.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcessEnvironment>
#include <QTest>

#include <cstdio>

namespace kelvor::test {
namespace {

const char* const Wine = "/usr/lib/wine/wine64";
const char* const WineServer = "/usr/lib/wine/wineserver";

QString programFolder() {
    return qEnvironmentVariable("KELVOR_WINDOWS_PROGRAM");
}

// Wine's server outlives the last program by a few seconds. The tests start once a server of
// earlier programs has gone (one started without a display, by console tests, leaves windowed
// programs deaf to WM_CLOSE and their boxes unfound), and end once theirs has gone. Every
// program of theirs is ended by its owner; the prefix may be shared, so nothing else in it is
// killed.
void waitForWineServerEnd() {
    QProcess server;
    server.start(WineServer, {"-w"});
    if (!server.waitForFinished(30000)) {
        std::fprintf(stderr, "Wine's server still runs: other programs use the prefix\n");
        server.kill();
        server.waitForFinished(5000);
    }
}

class WineServerEnd : public ::testing::Environment {
public:
    void SetUp() override {
        if (wineSkipReason().isEmpty()) {
            waitForWineServerEnd();
        }
    }
    void TearDown() override { SetUp(); }
};

[[maybe_unused]] const auto* const wineServerEnd =
    ::testing::AddGlobalTestEnvironment(new WineServerEnd); // gtest owns it

} // namespace

QString wineSkipReason() {
    if (programFolder().isEmpty()) {
        return "KELVOR_WINDOWS_PROGRAM does not name the Windows program folder";
    }
    if (!QFile::exists(programFolder() + "/kelvor-reader.exe")) {
        return "no kelvor-reader.exe in " + programFolder();
    }
    if (qEnvironmentVariableIsEmpty("WINEPREFIX")) {
        return "WINEPREFIX does not name the Wine prefix";
    }
    if (!QFileInfo(Wine).isExecutable()) {
        return QString(Wine) + " is not installed";
    }
    return {};
}

QString comLink(int port) {
    return qEnvironmentVariable("WINEPREFIX") + QString("/dosdevices/com%1").arg(port);
}

QString windowsPath(const QString& path) {
    return "Z:" + QFileInfo(path).absoluteFilePath().replace('/', '\\');
}

void startUnderWine(QProcess& process, const QString& program, const QStringList& arguments) {
    process.setProgram(Wine);
    process.setArguments(QStringList{program} + arguments);
    process.start();
}

QByteArray settingsFor(std::initializer_list<ChannelSetting> channels) {
    QString text;
    for (const ChannelSetting& ch : channels) {
        text += QString("[KelvorReaderCH%1]\r\nDescription=%2\r\nCommPort=%3\r\nEnabled=1\r\n")
                    .arg(ch.channel)
                    .arg(ch.description)
                    .arg(ch.commPort);
    }
    return text.toUtf8();
}

WindowsReader::WindowsReader() {
    // Links, not copies: Wine takes the folder of the link as the program's folder.
    const QDir program(programFolder());
    for (const QString& name : program.entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot)) {
        EXPECT_TRUE(QFile::link(program.filePath(name), folder() + "/" + name))
            << name.toStdString();
    }
    process_.setWorkingDirectory(folder());
    process_.setProcessChannelMode(QProcess::MergedChannels);
}

WindowsReader::~WindowsReader() {
    if (running()) {
        process_.kill(); // the Windows process itself: Wine runs it as this Linux process
        process_.waitForFinished(10000);
    }
}

QString WindowsReader::folder() const {
    return QString::fromStdString(utf8Of(dir_.path()));
}

void WindowsReader::writeSettings(const QByteArray& text) const {
    QFile file(iniPath());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
}

QString WindowsReader::settingsText() const {
    QFile file(iniPath());
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

QString WindowsReader::logText() const {
    QFile file(folder() + "/KelvorReader.log");
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

void WindowsReader::start(const QString& platform) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    // Wine hands no QT_ variable of the Linux side to a Windows program; it passes WINEQT_...
    // on as QT_... instead.
    env.insert("WINEQT_QPA_PLATFORM", platform);
    process_.setProcessEnvironment(env);
    startUnderWine(process_, folder() + "/kelvor-reader.exe", {});
    ASSERT_TRUE(process_.waitForStarted(10000));
    // A fresh Wine server starts its services first: that takes a while on a loaded machine.
    // The log turning up here also shows that Wine gave the program this folder as its own,
    // not the folder the links point into.
    ASSERT_TRUE(waitForLog("Reader started", 1, 90000)) << output().toStdString();
}

bool WindowsReader::waitForLog(const QString& text, int count, int ms) const {
    return QTest::qWaitFor([&] { return logText().count(text) >= count; }, ms);
}

void WindowsReader::closeWindows() {
    QProcess taskkill;
    startUnderWine(taskkill, "taskkill", {"/IM", "kelvor-reader.exe"});
    // Waited for with the event loop running: the test's lines go on sending meanwhile.
    ASSERT_TRUE(QTest::qWaitFor([&] { return taskkill.state() == QProcess::NotRunning; }, 30000));
    EXPECT_EQ(taskkill.exitCode(), 0) << taskkill.readAll().toStdString();
}

bool WindowsReader::waitForExit(int ms) {
    return QTest::qWaitFor([&] { return !running(); }, ms);
}

QString WindowsReader::output() {
    return QString::fromUtf8(process_.readAll());
}

} // namespace kelvor::test
