#pragma once

// The Windows build of the reader run under Wine from a private folder: its settings file,
// log and workbooks live beside the executable, so every run gets a folder of its own that
// links the program folder's files.

#include "TestFiles.h"

#include <QProcess>
#include <QString>
#include <QStringList>

#include <initializer_list>

namespace kelvor::test {

// Why the Windows reader cannot be run here, or nothing when it can.
QString wineSkipReason();
// Where Wine finds COMn: $WINEPREFIX/dosdevices/comn.
QString comLink(int port);
// The Windows name of a file of ours (Z: is the root).
QString windowsPath(const QString& path);
// A program run under Wine (not waited for).
void startUnderWine(QProcess& process, const QString& program, const QStringList& arguments);

struct ChannelSetting {
    int channel;
    QString description;
    int commPort;
};

// A settings file enabling the given channels, with CRLF lines as a Windows editor leaves them.
QByteArray settingsFor(std::initializer_list<ChannelSetting> channels);

class WindowsReader {
public:
    WindowsReader();
    ~WindowsReader();
    WindowsReader(const WindowsReader&) = delete;
    WindowsReader& operator=(const WindowsReader&) = delete;

    QString folder() const;
    QString iniPath() const { return folder() + "/KelvrReader.ini"; }
    QString workbookFolder() const { return folder() + "/Workbooks"; }
    void writeSettings(const QByteArray& text) const;
    QString settingsText() const;
    QString logText() const;

    // Started with the given Qt platform ("windows" needs an X display), and waits until the
    // log says so.
    void start(const QString& platform = "offscreen");
    // Waits until the log holds `text` `count` times.
    bool waitForLog(const QString& text, int count = 1, int ms = 30000) const;
    // Sends WM_CLOSE to the reader's windows, as `taskkill` without /F does.
    void closeWindows();
    bool waitForExit(int ms = 30000);
    bool running() const { return process_.state() == QProcess::Running; }
    int exitCode() const { return process_.exitCode(); }

private:
    QString output();

    TempDir dir_;
    QProcess process_;
};

} // namespace kelvor::test
