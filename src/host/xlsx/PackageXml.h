#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kelvor {

class Workbook;

namespace contentType {
inline constexpr std::string_view Workbook =
    "application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml";
inline constexpr std::string_view Worksheet =
    "application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml";
inline constexpr std::string_view Chartsheet =
    "application/vnd.openxmlformats-officedocument.spreadsheetml.chartsheet+xml";
inline constexpr std::string_view Drawing =
    "application/vnd.openxmlformats-officedocument.drawing+xml";
inline constexpr std::string_view Chart =
    "application/vnd.openxmlformats-officedocument.drawingml.chart+xml";
inline constexpr std::string_view ChartShapes =
    "application/vnd.openxmlformats-officedocument.drawingml.chartshapes+xml";
inline constexpr std::string_view Styles =
    "application/vnd.openxmlformats-officedocument.spreadsheetml.styles+xml";
inline constexpr std::string_view CoreProperties =
    "application/vnd.openxmlformats-package.core-properties+xml";
inline constexpr std::string_view ExtendedProperties =
    "application/vnd.openxmlformats-officedocument.extended-properties+xml";
} // namespace contentType

struct PartType {
    std::string_view name; // without leading slash, as in the archive
    std::string_view contentType;
};

// The parts made piece by piece take the pieces as they are made; the whole text is the same.
using XmlPieces = std::function<void(std::string_view)>;

std::string contentTypesXml(const std::vector<PartType>& parts);
void contentTypesXml(const std::vector<PartType>& parts, const XmlPieces& piece);
std::string rootRelationshipsXml();
std::string appPropertiesXml();
// `created` in the form 2024-05-01T12:00:00Z.
std::string corePropertiesXml(std::string_view created);

// Sheet i of the workbook is the part sheetParts[i] (a path below xl/), related as "rId<i+1>".
std::string workbookXml(const Workbook& workbook);
std::string workbookRelationshipsXml(const Workbook& workbook,
                                     const std::vector<std::string_view>& sheetParts);
void workbookRelationshipsXml(const Workbook& workbook,
                              const std::vector<std::string_view>& sheetParts,
                              const XmlPieces& piece);

// The print title rows in the form a defined name holds them, "$15:$15", from texts such as
// "$15:$15", "15:15" or "$15"; nothing for a text that names no rows of the sheet.
std::optional<std::string> printTitleRowsReference(std::string_view rows);

// 'Data 1' with apostrophes doubled: the sheet name as a formula refers to it.
std::string quotedSheetName(std::string_view name);

} // namespace kelvor
