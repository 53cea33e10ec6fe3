#include "shell/Main.h"

namespace kelvor {

void Main(AppState& state) {
    state.ReleaseText = ReleasedOn;
}

std::string iniPathIn(const QString& programFolder) {
    QString path = programFolder;
    if (!path.endsWith('/')) {
        path += '/';
    }
    return (path + "KelvrReader.ini").toStdString();
}

} // namespace kelvor
