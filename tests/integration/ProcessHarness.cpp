#include "ProcessHarness.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonValue>
#include <QTest>

#include <csignal>
#include <unistd.h>

namespace kelvor::test {
namespace {

const char* const PythonWithOpenpyxl = "/usr/bin/python3";

} // namespace

Simulator::Simulator(const QStringList& options, const QStringList& files) {
    process_.setProgram(QString(KELVOR_BINARY_DIR) + "/kelvor-sim");
    process_.setArguments(QStringList{"--pty", "--wait", "--hold", "2"} + options + files);
    process_.start();
    EXPECT_TRUE(process_.waitForStarted(10000));
    EXPECT_TRUE(QTest::qWaitFor([&] { return process_.canReadLine(); }, 10000));
    const QString line = QString::fromUtf8(process_.readLine()).trimmed();
    EXPECT_TRUE(line.startsWith("PTY ")) << line.toStdString();
    device_ = line.mid(4);
}

Simulator::~Simulator() {
    kill();
}

void Simulator::play() {
    process_.write("\n");
}

void Simulator::kill() {
    process_.kill();
    process_.waitForFinished(5000);
}

bool Simulator::finished() {
    output_ += QString::fromUtf8(process_.readAll());
    return output_.contains("DONE");
}

ReaderInFolder::ReaderInFolder() : ReaderInFolder(QString()) {}

ReaderInFolder::ReaderInFolder(const QString& folder) {
    folder_ = folder.isEmpty() ? dir_.path() : folder;
    const QString target = folder_ + "/kelvor-reader";
    QFile::remove(target);
    EXPECT_TRUE(QFile::copy(QString(KELVOR_BINARY_DIR) + "/kelvor-reader", target));
    QFile::setPermissions(target, QFile::permissions(target) | QFile::ExeOwner);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    process_.setProcessEnvironment(env);
    process_.setProgram(target);
    if (!folder.isEmpty()) {
        dir_.setAutoRemove(false); // the folder belongs to the earlier run
    }
}

void ReaderInFolder::writeSettings(const QByteArray& text) const {
    QFile file(iniPath());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
}

QString ReaderInFolder::settingsText() const {
    QFile file(iniPath());
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    return QString::fromUtf8(file.readAll()).replace("\r\n", "\n");
}

// The kernel lists the signals a process catches; once SIGINT and SIGTERM are among them, a
// signal ends the program through its own handler.
bool ReaderInFolder::catchesTerminationSignals() const {
    QFile status(QString("/proc/%1/status").arg(process_.processId()));
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

void ReaderInFolder::start() {
    process_.start();
    ASSERT_TRUE(process_.waitForStarted(10000));
    ASSERT_TRUE(QTest::qWaitFor([&] { return catchesTerminationSignals(); }, 20000));
    ASSERT_TRUE(QTest::qWaitFor([&] { return QFile::exists(iniPath()); }, 20000));
}

bool ReaderInFolder::holdsOpen(const QString& device) const {
    const QDir fds(QString("/proc/%1/fd").arg(process_.processId()));
    for (const QFileInfo& fd : fds.entryInfoList(QDir::Files | QDir::System)) {
        if (fd.symLinkTarget() == device) {
            return true;
        }
    }
    return false;
}

void ReaderInFolder::stopWith(int sig) {
    ::kill(static_cast<pid_t>(process_.processId()), sig);
    ASSERT_TRUE(process_.waitForFinished(20000));
    EXPECT_EQ(process_.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(process_.exitCode(), 0);
}

void ReaderInFolder::killHard() {
    process_.kill();
    ASSERT_TRUE(process_.waitForFinished(20000));
}

QString ReaderInFolder::logText() const {
    QFile file(folder_ + "/KelvorReader.log");
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

double ReaderInFolder::cpuSeconds() const {
    QFile stat(QString("/proc/%1/stat").arg(process_.processId()));
    if (!stat.open(QIODevice::ReadOnly)) {
        return -1.0;
    }
    // Fields after the command name: state is the 3rd field, utime the 14th, stime the 15th.
    const QByteArray text = stat.readAll();
    const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
    const double ticks = fields.at(11).toDouble() + fields.at(12).toDouble();
    return ticks / static_cast<double>(::sysconf(_SC_CLK_TCK));
}

QList<QPair<QString, QByteArray>> archivedReports(const QString& workbookFolder,
                                                  int channelNumber) {
    const QDir folder(QString("%1/Received/Channel %2").arg(workbookFolder).arg(channelNumber));
    QList<QPair<QString, QByteArray>> reports;
    for (const QFileInfo& info :
         folder.entryInfoList({"*.txt"}, QDir::Files, QDir::Time | QDir::Reversed)) {
        QFile file(info.filePath());
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        reports.append({info.fileName(), file.readAll()});
    }
    return reports;
}

bool workbookReaderAvailable() {
    return QProcess::execute(PythonWithOpenpyxl, {"-c", "import openpyxl"}) == 0;
}

QJsonObject inspectWorkbook(const QString& path) {
    QProcess python;
    python.start(PythonWithOpenpyxl,
                 {QString(KELVOR_SOURCE_DIR) + "/tests/integration/dump_xlsx.py", path});
    if (!python.waitForFinished(60000) || python.exitCode() != 0) {
        ADD_FAILURE() << "cannot read " << path.toStdString() << ": "
                      << python.readAllStandardError().toStdString();
        return {};
    }
    return QJsonDocument::fromJson(python.readAllStandardOutput()).object();
}

QString sample(const char* name) {
    return QString(KELVOR_SOURCE_DIR) + "/samples/" + name;
}

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList workbookFiles(const QString& folder) {
    return QDir(folder).entryList({"*.xlsx"}, QDir::Files, QDir::Name);
}

QStringList sheetNames(const QJsonObject& workbook) {
    QStringList names;
    for (const QJsonValue& sheet : workbook["sheets"].toArray()) {
        names << sheet["name"].toString();
    }
    return names;
}

QStringList dataSheets(const QJsonObject& workbook) {
    QStringList names;
    for (const QJsonValue& sheet : workbook["sheets"].toArray()) {
        const QString name = sheet["name"].toString();
        if (name.startsWith("Data ") && !name.endsWith(" Plot")) {
            names << name;
        }
    }
    return names;
}

} // namespace kelvor::test
