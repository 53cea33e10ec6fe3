#pragma once

// The tests' own Windows program (helpers/kelvor-wine-helper.cpp) under Wine: another process
// beside the reader that holds a file open as a spreadsheet program does, or answers a box.

#include <QProcess>
#include <QString>

namespace kelvor::test {

class WineHelper {
public:
    // Where the Windows build put it, or nothing when it was not built.
    static QString program();

    WineHelper();
    ~WineHelper();
    WineHelper(const WineHelper&) = delete;
    WineHelper& operator=(const WineHelper&) = delete;

    // Sends one command and returns its answer ("held", "failed 32", ...).
    QString ask(const QString& command);

private:
    QProcess process_;
};

} // namespace kelvor::test
