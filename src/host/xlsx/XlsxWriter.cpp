#include "host/xlsx/XlsxWriter.h"

#include "host/model/Workbook.h"
#include "host/xlsx/ChartSheetXml.h"
#include "host/xlsx/PackageXml.h"
#include "host/xlsx/StylesXml.h"
#include "host/xlsx/XlsxError.h"
#include "platform/DurableFile.h"
#include "platform/ExtendingFile.h"
#include "platform/FileCopy.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <deque>
#include <unordered_map>

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

// The file written last no longer holds the bytes of a part copied from it.
struct PreviousFileChanged {};

// The archive ends with its end record, which names the size and place of its directory.
constexpr std::size_t kEndRecordSize = 22;
// A part's line in the archive's directory, its name aside.
constexpr std::uint64_t kDirectoryLineSize = 46;

} // namespace

XlsxWriter::XlsxWriter() : created_(utcNow()) {}

const CompressedPart& XlsxWriter::sheetPart(const Sheet& sheet, PartRole role,
                                            const std::string& name, std::uint64_t revision,
                                            const std::function<CompressedPart()>& make) {
    const auto key = sheet.key() * 8 + static_cast<std::uint64_t>(role);
    const auto found = cache_.find(key);
    if (found != cache_.end() && found->second.revision == revision &&
        found->second.part.name == name) {
        reused_.push_back(name);
        if (found->second.part.stored) {
            copied_.push_back(name);
        }
        found->second.used = true;
        return found->second.part;
    }
    if (found != cache_.end()) {
        // Let go of the old part first: the caches may then add to the pieces it shared.
        cache_.erase(found);
    }
    auto part = make();
    compressed_.push_back(name);
    auto& slot = cache_[key];
    slot = CachedPart{revision, std::move(part), true};
    return slot.part;
}

void XlsxWriter::addPart(SheetParts& out, const ChartSheet& sheet, PartRole role,
                         const std::string& name, std::string_view type,
                         const std::function<std::string()>& content) {
    if (!type.empty()) {
        out.types.push_back({name, type});
    }
    out.parts.push_back(&sheetPart(sheet, role, name, sheet.revision(),
                                   [&] { return compressPart(name, content()); }));
}

// Part names come from the sheet's number at each write; what is kept is found by its key.
void XlsxWriter::addWorksheet(SheetParts& out, const Worksheet& sheet) {
    out.targets.push_back("worksheets/sheet" + std::to_string(sheet.id()) + ".xml");
    const auto name = "xl/" + out.targets.back();
    out.types.push_back({name, contentType::Worksheet});
    out.parts.push_back(&sheetPart(sheet, PartRole::Sheet, name, sheet.writtenRevision(),
                                   [&] { return worksheets_.compress(name, sheet); }));
}

// A chart sheet is six parts: the sheet, its drawing, the chart, the text boxes' shapes and
// the relationships between them.
void XlsxWriter::addChartSheet(SheetParts& out, const ChartSheet& sheet) {
    const ChartPartNames names(sheet.id());
    const Chart& chart = sheet.chart();
    out.targets.push_back(names.chartsheet.substr(3));
    addPart(out, sheet, PartRole::Sheet, names.chartsheet, contentType::Chartsheet,
            [&] { return chartsheetXml(sheet); });
    addPart(out, sheet, PartRole::SheetRelationships, names.chartsheetRelationships, {},
            [&] { return relationshipXml(names.drawing, RelationshipKind::Drawing); });
    addPart(out, sheet, PartRole::Drawing, names.drawing, contentType::Drawing,
            [&] { return drawingXml(); });
    addPart(out, sheet, PartRole::DrawingRelationships, names.drawingRelationships, {},
            [&] { return relationshipXml(names.chart, RelationshipKind::Chart); });
    out.types.push_back({names.chart, contentType::Chart});
    out.parts.push_back(&sheetPart(sheet, PartRole::Chart, names.chart, sheet.revision(),
                                   [&] { return charts_.compress(names.chart, chart); }));
    if (!chart.textBoxes.empty()) {
        addPart(out, sheet, PartRole::ChartRelationships, names.chartRelationships, {},
                [&] { return relationshipXml(names.shapes, RelationshipKind::ChartShapes); });
        addPart(out, sheet, PartRole::Shapes, names.shapes, contentType::ChartShapes,
                [&] { return chartShapesXml(chart); });
    }
}

// The small package parts change with almost any edit; they are cheap to redo.
std::deque<CompressedPart> XlsxWriter::packageParts(const Workbook& workbook,
                                                    const SheetParts& sheets) const {
    std::deque<CompressedPart> small;
    small.push_back(compressPart("[Content_Types].xml", contentTypesXml(sheets.types)));
    small.push_back(compressPart("_rels/.rels", rootRelationshipsXml()));
    small.push_back(compressPart("docProps/app.xml", appPropertiesXml()));
    small.push_back(compressPart("docProps/core.xml", corePropertiesXml(created_)));
    small.push_back(compressPart("xl/workbook.xml", workbookXml(workbook)));
    small.push_back(compressPart("xl/_rels/workbook.xml.rels",
                                 workbookRelationshipsXml(workbook, sheets.targets)));
    small.push_back(compressPart("xl/styles.xml", stylesXml(workbook.styles())));
    return small;
}

std::unique_ptr<SourceFile> XlsxWriter::openPrevious() {
    const bool anyStored = std::any_of(cache_.begin(), cache_.end(), [](const auto& entry) {
        return entry.second.part.stored.has_value();
    });
    if (!anyStored) {
        return nullptr;
    }
    auto file = SourceFile::openUnchanged(previousPath_, previousStamp_);
    // A same-sized file written within the clock's tick of ours has our stamp; its end record
    // tells it apart unless its directory lies where ours did.
    std::string end(previousEnd_.size(), '\0');
    if (file && previousStamp_.size >= end.size() &&
        // NOLINTNEXTLINE(cppcoreguidelines-pro-type-reinterpret-cast): bytes as characters
        file->read(previousStamp_.size - end.size(), end.size(),
                   reinterpret_cast<unsigned char*>(end.data())) &&
        end == previousEnd_) {
        return file;
    }
    forgetStoredParts();
    return nullptr;
}

void XlsxWriter::forgetStoredParts() {
    std::erase_if(cache_, [](const auto& entry) { return entry.second.part.stored.has_value(); });
}

void XlsxWriter::write(const Workbook& workbook, const std::filesystem::path& path) {
    if (workbook.sheetCount() == 0) {
        throw XlsxError(path, "the workbook has no sheets");
    }
    try {
        writeOnce(workbook, path, openPrevious());
    } catch (const PreviousFileChanged&) {
        // Cut short under us: the parts it held are made again, and nothing is copied.
        forgetStoredParts();
        writeOnce(workbook, path, nullptr);
    }
}

void XlsxWriter::writeOnce(const Workbook& workbook, const std::filesystem::path& path,
                           std::unique_ptr<SourceFile> previous) {
    compressed_.clear();
    for (auto& [key, cached] : cache_) {
        cached.used = false;
    }
    reused_.clear();
    copied_.clear();
    SheetParts sheets;
    sheets.types = {{"xl/workbook.xml", contentType::Workbook},
                    {"xl/styles.xml", contentType::Styles},
                    {"docProps/core.xml", contentType::CoreProperties},
                    {"docProps/app.xml", contentType::ExtendedProperties}};
    std::vector<const CompressedPart*> parts;
    std::vector<std::uint64_t> entries;
    std::string end;
    FileStamp stamp;
    std::uint64_t live = 0;
    try {
        for (std::size_t i = 0; i < workbook.sheetCount(); ++i) {
            const auto& sheet = workbook.sheet(i);
            if (const auto* worksheet = asWorksheet(sheet)) {
                addWorksheet(sheets, *worksheet);
            } else {
                addChartSheet(sheets, *asChartSheet(sheet));
            }
        }
        const auto small = packageParts(workbook, sheets);
        for (const auto& part : small) {
            parts.push_back(&part);
        }
        parts.insert(parts.end(), sheets.parts.begin(), sheets.parts.end());
        // The parts are made; whether the file can be written does not change them.
        charts_.endWrite();
        worksheets_.endWrite();

        if (previous && growsInPlace(path)) {
            // Nothing is read from it: only its end changes.
            previous.reset();
            ExtendingFile file(path, previousStamp_.size);
            try {
                entries = appendZip(
                    [&](std::string_view bytes) {
                        file.write(bytes);
                        end = bytes;
                    },
                    previousStamp_.size, parts);
                file.commit();
            } catch (...) {
                // Cut back to what it was, the file still holds every stored part.
                if (const auto& now = file.stamp(); now.size == previousStamp_.size) {
                    previousStamp_ = now;
                }
                throw;
            }
            stamp = file.stamp();
        } else {
            stamp = writeWhole(path, std::move(previous), parts, entries, end);
        }
        live = liveBytes(parts, end);
    } catch (const FileError& error) {
        throw XlsxError(path, error.reason());
    } catch (const XlsxError& error) {
        throw XlsxError(path, error.reason());
    } catch (const std::bad_alloc&) {
        throw XlsxError(path, "not enough memory");
    }

    // Parts of sheets that are gone are not needed again.
    std::erase_if(cache_, [](const auto& entry) { return !entry.second.used; });
    previousPath_ = path;
    previousStamp_ = stamp;
    previousEnd_ = end.size() == kEndRecordSize ? end : std::string();
    previousLive_ = live;
    if (stamp != FileStamp{} && !previousEnd_.empty()) {
        rememberStored(parts, entries);
    } else {
        // Nothing to tell the file again by: every part keeps its bytes.
        forgetStoredParts();
    }
}

FileStamp XlsxWriter::writeWhole(const std::filesystem::path& path,
                                 std::unique_ptr<SourceFile> previous,
                                 const std::vector<const CompressedPart*>& parts,
                                 std::vector<std::uint64_t>& entries, std::string& end) {
    ReplacingFile file(path);
    // Entries that follow each other in the file written last are copied in one go.
    std::uint64_t runStart = 0;
    std::uint64_t runSize = 0;
    const auto copyRun = [&] {
        if (runSize > 0 && !file.copyFrom(*previous, runStart, runSize)) {
            throw PreviousFileChanged{};
        }
        runSize = 0;
    };
    entries = writeZip(
        [&](std::string_view bytes) {
            copyRun();
            file.write(bytes);
            end = bytes;
        },
        [&](std::uint64_t offset, std::uint64_t size) {
            if (!previous) {
                throw PreviousFileChanged{};
            }
            if (runSize > 0 && runStart + runSize == offset) {
                runSize += size;
                return;
            }
            copyRun();
            runStart = offset;
            runSize = size;
        },
        parts);
    // Closed before the replacement: some systems refuse to replace a file open anywhere.
    previous.reset();
    file.commit();
    return file.stamp();
}

// Growing the file in place writes only the changed parts, but leaves the ones they replace
// behind as unused bytes; once those outweigh the parts in use, the file is written whole.
bool XlsxWriter::growsInPlace(const std::filesystem::path& path) const {
    return path == previousPath_ && previousLive_ > 0 &&
           previousStamp_.size - std::min(previousStamp_.size, previousLive_) <= previousLive_;
}

std::uint64_t XlsxWriter::liveBytes(const std::vector<const CompressedPart*>& parts,
                                    const std::string& end) {
    std::uint64_t bytes = end.size();
    for (const auto* part : parts) {
        // Its entry and its line in the directory, which repeats the name.
        bytes += part->entrySize() + kDirectoryLineSize + part->name.size();
    }
    return bytes;
}

void XlsxWriter::rememberStored(const std::vector<const CompressedPart*>& parts,
                                const std::vector<std::uint64_t>& entries) {
    std::unordered_map<const CompressedPart*, std::uint64_t> entryOf;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        entryOf.emplace(parts[i], entries[i]);
    }
    for (auto& [key, cached] : cache_) {
        auto& part = cached.part;
        part.stored = CompressedPart::Stored{entryOf.at(&part), part.compressedSize()};
        // Moved from, not cleared: a cleared vector keeps its room.
        part.fragments = std::vector<SharedFragment>();
        part.data = std::vector<unsigned char>();
    }
}

} // namespace kelvor
