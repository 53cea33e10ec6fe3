#include "host/model/SheetName.h"

#include <QString>

namespace kelvor {

namespace {

QString toQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

bool isValidSheetName(std::string_view name) {
    const QString text = toQString(name);
    if (text.isEmpty() || text.size() > 31 || text.toUtf8() != QByteArrayView(name)) {
        return false; // empty, too long, or not valid UTF-8
    }
    if (text.front() == u'\'' || text.back() == u'\'') {
        return false;
    }
    for (const QChar c : text) {
        if (c.unicode() < 0x20 || QStringView(u":\\/?*[]").contains(c) || c.unicode() == 0xFFFE ||
            c.unicode() == 0xFFFF) {
            return false;
        }
    }
    return true;
}

bool sameSheetName(std::string_view a, std::string_view b) {
    return a == b || toQString(a).compare(toQString(b), Qt::CaseInsensitive) == 0;
}

} // namespace kelvor
