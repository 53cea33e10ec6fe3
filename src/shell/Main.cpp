#include "shell/Main.h"

#include <QDir>

namespace kelvor {

void Main(AppState& state) {
    state.ReleaseText = ReleasedOn;
}

std::string iniPathIn(const QString& programFolder) {
    QString path = QDir::toNativeSeparators(programFolder);
    if (!path.endsWith(QDir::separator())) {
        path += QDir::separator();
    }
    return (path + "KelvrReader.ini").toStdString();
}

} // namespace kelvor
