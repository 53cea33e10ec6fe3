#include "WorkbookParts.h"

#include "XlsxPackage.h"

#include <QRegularExpression>

namespace kelvor::test {
namespace {

std::string withoutMoments(const std::string& coreXml) {
    static const QRegularExpression moment("(<dcterms:(created|modified)[^>]*>)[^<]*");
    return QString::fromStdString(coreXml).replace(moment, "\\1").toStdString();
}

std::string partOr(const WorkbookParts& parts, const std::string& name) {
    const auto found = parts.find(name);
    return found == parts.end() ? std::string() : found->second;
}

} // namespace

WorkbookParts partsOf(const QString& workbook) {
    WorkbookParts parts;
    // Only the content: the deflated bytes depend on the zlib build, the entries' times on
    // the moment of writing.
    for (const auto& [name, entry] : readPackage(workbook.toStdString())) {
        parts[name] = name == "docProps/core.xml" ? withoutMoments(entry.content) : entry.content;
    }
    return parts;
}

QStringList sheetNames(const WorkbookParts& parts) {
    static const QRegularExpression sheet(R"re(<sheet name="([^"]*)")re");
    QStringList names;
    const QString workbook = QString::fromStdString(partOr(parts, "xl/workbook.xml"));
    for (const auto& match : sheet.globalMatch(workbook)) {
        names << match.captured(1);
    }
    return names;
}

std::string sheetXml(const WorkbookParts& parts, const QString& name) {
    const QString workbook = QString::fromStdString(partOr(parts, "xl/workbook.xml"));
    const QRegularExpression sheet("<sheet name=\"" + QRegularExpression::escape(name) +
                                   "\"[^>]* r:id=\"([^\"]+)\"");
    const QString id = sheet.match(workbook).captured(1);
    if (id.isEmpty()) {
        return {};
    }
    const QString rels = QString::fromStdString(partOr(parts, "xl/_rels/workbook.xml.rels"));
    const QRegularExpression target("Id=\"" + id + "\"[^>]* Target=\"([^\"]+)\"");
    const QString path = target.match(rels).captured(1);
    return path.isEmpty() ? std::string() : partOr(parts, "xl/" + path.toStdString());
}

} // namespace kelvor::test
