#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

namespace kelvor::test {

// The bytes of one of the project's sample reports.
inline QByteArray sampleReport(const char* name) {
    QFile file(QString(KELVOR_SOURCE_DIR) + "/samples/" + name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace kelvor::test
