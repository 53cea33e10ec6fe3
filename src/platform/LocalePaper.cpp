#include "platform/LocalePaper.h"

#include <QLocale>

namespace kelvor {

int localePaperSize() {
    switch (QLocale::system().territory()) {
    case QLocale::UnitedStates:
    case QLocale::Canada:
    case QLocale::Mexico:
    case QLocale::PuertoRico:
    case QLocale::Philippines:
    case QLocale::Chile:
    case QLocale::Colombia:
    case QLocale::Venezuela:
        return 1; // Letter
    default:
        return 9; // A4
    }
}

} // namespace kelvor
