#pragma once

// Processes the integration tests drive: the tester simulator on a pseudo-terminal of its
// own, and the real reader program running from a private folder.

#include <QJsonObject>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

namespace kelvor::test {

// One simulator with its own pseudo-terminal; it waits for a line on its input before it
// plays, so the reader can open the line first.
class Simulator {
public:
    Simulator(const QStringList& options, const QStringList& files);
    ~Simulator();
    Simulator(const Simulator&) = delete;
    Simulator& operator=(const Simulator&) = delete;

    const QString& device() const { return device_; }
    void play();
    void kill();
    bool finished();

private:
    QProcess process_;
    QString device_;
    QString output_;
};

// The reader keeps its settings and workbooks beside its executable, so every run gets a
// private copy of the program in a folder of its own.
class ReaderInFolder {
public:
    ReaderInFolder();
    // A second run in the folder of an earlier one.
    explicit ReaderInFolder(const QString& folder);

    QString folder() const { return folder_; }
    QString iniPath() const { return folder_ + "/KelvrReader.ini"; }
    void writeSettings(const QByteArray& text) const;
    QString settingsText() const;

    // Started, with its signal handlers in place and its settings file made.
    void start();
    // Whether the program holds the given device open.
    bool holdsOpen(const QString& device) const;
    void stopWith(int sig);
    // Ends the program the hard way (as a power cut would), without a word to it.
    void killHard();

    QString workbookFolder() const { return folder_ + "/Workbooks"; }
    QString logText() const;
    // The processor time the program has used so far, user and system, in seconds.
    double cpuSeconds() const;
    bool running() const { return process_.state() == QProcess::Running; }
    qint64 processId() const { return process_.processId(); }

private:
    bool catchesTerminationSignals() const;

    QTemporaryDir dir_;
    QString folder_;
    QProcess process_;
};

// A workbook file read back by an independent reader (openpyxl); empty when that reader is
// not installed.
QJsonObject inspectWorkbook(const QString& path);
// The files of one channel's received-report archive, oldest first, with their bytes.
QList<QPair<QString, QByteArray>> archivedReports(const QString& workbookFolder, int channelNumber);
bool workbookReaderAvailable();

// A sample report of samples/, and any file's bytes (empty when it cannot be read).
QString sample(const char* name);
QByteArray readFile(const QString& path);
// The workbook files of a folder, by name; the sheets of a workbook read back, all of them or
// its data sheets only ("Data 3", not "Data 3 Plot").
QStringList workbookFiles(const QString& folder);
QStringList sheetNames(const QJsonObject& workbook);
QStringList dataSheets(const QJsonObject& workbook);

} // namespace kelvor::test
