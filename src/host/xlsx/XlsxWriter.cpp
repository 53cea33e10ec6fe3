#include "host/xlsx/XlsxWriter.h"

#include "host/model/Workbook.h"
#include "host/xlsx/ChartSheetXml.h"
#include "host/xlsx/PackageXml.h"
#include "host/xlsx/StylesXml.h"
#include "host/xlsx/XlsxError.h"
#include "platform/DurableFile.h"

#include <chrono>
#include <cstdio>
#include <deque>
#include <unordered_set>

namespace kelvor {

namespace {

// The present moment in UTC as 2024-05-01T12:00:00Z.
std::string utcNow() {
    using namespace std::chrono;
    const auto now = floor<seconds>(system_clock::now());
    const auto day = floor<days>(now);
    const year_month_day date(day);
    const hh_mm_ss time(now - day);
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02u-%02uT%02d:%02d:%02dZ",
                  static_cast<int>(date.year()), static_cast<unsigned>(date.month()),
                  static_cast<unsigned>(date.day()), static_cast<int>(time.hours().count()),
                  static_cast<int>(time.minutes().count()),
                  static_cast<int>(time.seconds().count()));
    return text;
}

} // namespace

XlsxWriter::XlsxWriter() : created_(utcNow()) {}

const CompressedPart& XlsxWriter::sheetPart(const std::string& name, std::uint64_t revision,
                                            const std::function<CompressedPart()>& make) {
    const auto found = cache_.find(name);
    if (found != cache_.end() && found->second.revision == revision) {
        reused_.push_back(name);
        return found->second.part;
    }
    auto part = make();
    compressed_.push_back(name);
    auto& slot = cache_[name];
    slot = CachedPart{revision, std::move(part)};
    return slot.part;
}

void XlsxWriter::write(const Workbook& workbook, const std::filesystem::path& path) {
    if (workbook.sheetCount() == 0) {
        throw XlsxError(path, "the workbook has no sheets");
    }
    compressed_.clear();
    reused_.clear();
    std::vector<PartType> types{{"xl/workbook.xml", contentType::Workbook},
                                {"xl/styles.xml", contentType::Styles},
                                {"docProps/core.xml", contentType::CoreProperties},
                                {"docProps/app.xml", contentType::ExtendedProperties}};
    std::vector<std::string> sheetTargets;
    std::vector<const CompressedPart*> sheetParts;
    const auto addSheetPart = [&](std::string name, std::string_view type, std::uint64_t revision,
                                  const std::function<std::string()>& content) {
        if (!type.empty()) {
            types.push_back({name, type});
        }
        sheetParts.push_back(
            &sheetPart(name, revision, [&] { return compressPart(name, content()); }));
    };

    try {
        for (std::size_t i = 0; i < workbook.sheetCount(); ++i) {
            const auto& sheet = workbook.sheet(i);
            const auto id = std::to_string(sheet.id());
            const auto revision = sheet.revision();
            if (const auto* worksheet = asWorksheet(sheet)) {
                sheetTargets.push_back("worksheets/sheet" + id + ".xml");
                const auto name = "xl/" + sheetTargets.back();
                types.push_back({name, contentType::Worksheet});
                sheetParts.push_back(&sheetPart(
                    name, revision, [&] { return worksheets_.compress(name, *worksheet); }));
                continue;
            }
            const auto& chartSheet = *asChartSheet(sheet);
            const ChartPartNames names(sheet.id());
            sheetTargets.push_back(names.chartsheet.substr(3));
            addSheetPart(names.chartsheet, contentType::Chartsheet, revision,
                         [&] { return chartsheetXml(chartSheet); });
            addSheetPart(names.chartsheetRelationships, {}, revision,
                         [&] { return relationshipXml(names.drawing, RelationshipKind::Drawing); });
            addSheetPart(names.drawing, contentType::Drawing, revision,
                         [&] { return drawingXml(); });
            addSheetPart(names.drawingRelationships, {}, revision,
                         [&] { return relationshipXml(names.chart, RelationshipKind::Chart); });
            types.push_back({names.chart, contentType::Chart});
            sheetParts.push_back(&sheetPart(names.chart, revision, [&] {
                return charts_.compress(names.chart, chartSheet.chart());
            }));
            if (!chartSheet.chart().textBoxes.empty()) {
                addSheetPart(names.chartRelationships, {}, revision, [&] {
                    return relationshipXml(names.shapes, RelationshipKind::ChartShapes);
                });
                addSheetPart(names.shapes, contentType::ChartShapes, revision,
                             [&] { return chartShapesXml(chartSheet.chart()); });
            }
        }

        // The small package parts change with almost any edit; they are cheap to redo.
        std::deque<CompressedPart> small;
        small.push_back(compressPart("[Content_Types].xml", contentTypesXml(types)));
        small.push_back(compressPart("_rels/.rels", rootRelationshipsXml()));
        small.push_back(compressPart("docProps/app.xml", appPropertiesXml()));
        small.push_back(compressPart("docProps/core.xml", corePropertiesXml(created_)));
        small.push_back(compressPart("xl/workbook.xml", workbookXml(workbook)));
        small.push_back(compressPart("xl/_rels/workbook.xml.rels",
                                     workbookRelationshipsXml(workbook, sheetTargets)));
        small.push_back(compressPart("xl/styles.xml", stylesXml(workbook.styles())));
        std::vector<const CompressedPart*> parts;
        for (const auto& part : small) {
            parts.push_back(&part);
        }
        parts.insert(parts.end(), sheetParts.begin(), sheetParts.end());
        // The parts are made; whether the file can be written does not change them.
        charts_.endWrite();
        worksheets_.endWrite();

        ReplacingFile file(path);
        writeZip([&file](std::string_view bytes) { file.write(bytes); }, parts);
        file.commit();
    } catch (const FileError& error) {
        throw XlsxError(path, error.reason());
    } catch (const XlsxError& error) {
        throw XlsxError(path, error.reason());
    } catch (const std::bad_alloc&) {
        throw XlsxError(path, "not enough memory");
    }

    // Parts of sheets that are gone are not needed again.
    std::unordered_set<std::string> current(compressed_.begin(), compressed_.end());
    current.insert(reused_.begin(), reused_.end());
    std::erase_if(cache_, [&](const auto& entry) { return !current.contains(entry.first); });
}

} // namespace kelvor
