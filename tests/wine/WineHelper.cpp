#include "WineHelper.h"

#include "WindowsReader.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTest>

namespace kelvor::test {

// The Windows build puts it beside its programs, one folder above the program folder.
QString WineHelper::program() {
    const QString path =
        qEnvironmentVariable("KELVOR_WINDOWS_PROGRAM") + "/../kelvor-wine-helper.exe";
    return QFile::exists(path) ? path : QString();
}

WineHelper::WineHelper() {
    startUnderWine(process_, program(), {});
    EXPECT_TRUE(process_.waitForStarted(10000));
}

WineHelper::~WineHelper() {
    process_.closeWriteChannel(); // the end of its input ends it, letting go of what it holds
    if (!process_.waitForFinished(20000)) {
        process_.kill();
        process_.waitForFinished(5000);
    }
}

QString WineHelper::ask(const QString& command) {
    process_.write(command.toUtf8() + "\n");
    // The event loop runs meanwhile: the test's lines keep sending.
    if (!QTest::qWaitFor([&] { return process_.canReadLine(); }, 30000)) {
        return "no answer to " + command;
    }
    return QString::fromUtf8(process_.readLine()).trimmed();
}

} // namespace kelvor::test
