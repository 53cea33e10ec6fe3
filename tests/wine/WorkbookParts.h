#pragma once

// A written workbook read back part by part with libzip, and its sheets found by name.

#include <QString>
#include <QStringList>

#include <map>
#include <string>

namespace kelvor::test {

using WorkbookParts = std::map<std::string, std::string>;

// Every part's inflated content; the moments in docProps/core.xml are blanked, being each
// run's own.
WorkbookParts partsOf(const QString& workbook);
// The sheet names in the workbook's order.
QStringList sheetNames(const WorkbookParts& parts);
// The part of the named sheet, or nothing when there is no such sheet.
std::string sheetXml(const WorkbookParts& parts, const QString& name);

} // namespace kelvor::test
