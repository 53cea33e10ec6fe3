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
#include <optional>
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

} // namespace

XlsxWriter::XlsxWriter() : created_(utcNow()) {}

void XlsxWriter::PartNames::clear() {
    names.clear();
    texts.clear();
    made = false;
}

const std::vector<std::string>& XlsxWriter::PartNames::list() const {
    if (!made) {
        texts.clear();
        for (const auto* name : names) {
            texts.push_back(*name);
        }
        made = true;
    }
    return texts;
}

const std::vector<std::string>& XlsxWriter::compressedParts() const {
    return compressed_.list();
}
const std::vector<std::string>& XlsxWriter::reusedParts() const {
    return reused_.list();
}
const std::vector<std::string>& XlsxWriter::copiedParts() const {
    return copied_.list();
}

template <class Make>
XlsxWriter::CachedPart& XlsxWriter::sheetPart(const Sheet& sheet, PartRole role,
                                              std::uint64_t revision, const Make& make) {
    const auto key = sheet.key() * 8 + static_cast<std::uint64_t>(role);
    const auto found = cache_.find(key);
    // A part's name follows from the sheet's number and the part's role.
    if (found != cache_.end() && found->second.revision == revision &&
        found->second.sheetId == sheet.id()) {
        reused_.add(found->second.part.name);
        if (found->second.part.stored) {
            copied_.add(found->second.part.name);
        }
        found->second.used = true;
        return found->second;
    }
    if (found != cache_.end()) {
        // Let go of the old part first: the caches may then add to the pieces it shared.
        cache_.erase(found);
    }
    auto part = make();
    auto& slot = cache_[key];
    slot = CachedPart{revision, sheet.id(), std::move(part), true};
    compressed_.add(slot.part.name);
    return slot;
}

template <class Name, class Content>
XlsxWriter::CachedPart& XlsxWriter::addPart(SheetParts& out, const ChartSheet& sheet, PartRole role,
                                            std::string_view type, const Name& name,
                                            const Content& content) {
    auto& cached = sheetPart(sheet, role, sheet.revision(), [&] {
        const std::string made = name();
        return compressPart(made, content());
    });
    if (!type.empty()) {
        out.types.push_back({cached.part.name, type});
    }
    out.parts.push_back(&cached);
    return cached;
}

// Part names come from the sheet's number at each write; what is kept is found by its key.
void XlsxWriter::addWorksheet(SheetParts& out, const Worksheet& sheet) {
    auto& cached = sheetPart(sheet, PartRole::Sheet, sheet.writtenRevision(), [&] {
        const auto name = "xl/worksheets/sheet" + std::to_string(sheet.id()) + ".xml";
        return worksheets_.compress(name, sheet);
    });
    const std::string_view name = cached.part.name;
    out.targets.push_back(name.substr(3));
    out.types.push_back({name, contentType::Worksheet});
    out.parts.push_back(&cached);
}

// A chart sheet is six parts: the sheet, its drawing, the chart, the text boxes' shapes and
// the relationships between them. Their names are made only for the parts made anew.
void XlsxWriter::addChartSheet(SheetParts& out, const ChartSheet& sheet) {
    std::optional<ChartPartNames> made;
    const auto names = [&]() -> const ChartPartNames& {
        if (!made) {
            made.emplace(sheet.id());
        }
        return *made;
    };
    const Chart& chart = sheet.chart();
    const auto& chartsheet = addPart(
        out, sheet, PartRole::Sheet, contentType::Chartsheet, [&] { return names().chartsheet; },
        [&] { return chartsheetXml(sheet); });
    out.targets.push_back(std::string_view(chartsheet.part.name).substr(3));
    addPart(
        out, sheet, PartRole::SheetRelationships, {},
        [&] { return names().chartsheetRelationships; },
        [&] { return relationshipXml(names().drawing, RelationshipKind::Drawing); });
    addPart(
        out, sheet, PartRole::Drawing, contentType::Drawing, [&] { return names().drawing; },
        [&] { return drawingXml(); });
    addPart(
        out, sheet, PartRole::DrawingRelationships, {},
        [&] { return names().drawingRelationships; },
        [&] { return relationshipXml(names().chart, RelationshipKind::Chart); });
    auto& chartPart = sheetPart(sheet, PartRole::Chart, sheet.revision(),
                                [&] { return charts_.compress(names().chart, chart); });
    out.types.push_back({chartPart.part.name, contentType::Chart});
    out.parts.push_back(&chartPart);
    if (!chart.textBoxes.empty()) {
        addPart(
            out, sheet, PartRole::ChartRelationships, {},
            [&] { return names().chartRelationships; },
            [&] { return relationshipXml(names().shapes, RelationshipKind::ChartShapes); });
        addPart(
            out, sheet, PartRole::Shapes, contentType::ChartShapes, [&] { return names().shapes; },
            [&] { return chartShapesXml(chart); });
    }
}

// The small package parts change with almost any edit; they are cheap to redo. Those that
// list every sheet keep what they begin with.
std::deque<CompressedPart> XlsxWriter::packageParts(const Workbook& workbook,
                                                    const SheetParts& sheets) {
    std::deque<CompressedPart> small;
    // The parts that name every sheet are made piece by piece: they are megabytes in a
    // workbook of thousands of sheets.
    small.push_back(contentTypes_.compress(
        "[Content_Types].xml", [&](const auto& piece) { contentTypesXml(sheets.types, piece); }));
    small.push_back(compressPart("_rels/.rels", rootRelationshipsXml()));
    small.push_back(compressPart("docProps/app.xml", appPropertiesXml()));
    small.push_back(compressPart("docProps/core.xml", corePropertiesXml(created_)));
    small.push_back(workbookPart_.compress("xl/workbook.xml", workbookXml(workbook)));
    small.push_back(
        workbookRelationships_.compress("xl/_rels/workbook.xml.rels", [&](const auto& piece) {
            workbookRelationshipsXml(workbook, sheets.targets, piece);
        }));
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
    for (auto& [key, cached] : cache_) {
        cached.used = false;
    }
    compressed_.clear();
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
        parts.reserve(small.size() + sheets.parts.size());
        for (const auto& part : small) {
            parts.push_back(&part);
        }
        for (const auto* cached : sheets.parts) {
            parts.push_back(&cached->part);
        }
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
        rememberStored(sheets, entries);
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
        bytes += part->entrySize() + part->directoryLineSize();
    }
    return bytes;
}

void XlsxWriter::rememberStored(const SheetParts& sheets,
                                const std::vector<std::uint64_t>& entries) {
    // Every kept part is in this write, behind the package's small parts.
    const std::size_t first = entries.size() - sheets.parts.size();
    for (std::size_t i = 0; i < sheets.parts.size(); ++i) {
        auto& part = sheets.parts[i]->part;
        if (part.stored && part.stored->entry == entries[first + i]) {
            continue; // left where it lay: the file grew in place
        }
        part.stored = CompressedPart::Stored{entries[first + i], part.compressedSize()};
        // Moved from, not cleared: a cleared vector keeps its room.
        part.fragments = std::vector<SharedFragment>();
        part.data = std::vector<unsigned char>();
    }
}

} // namespace kelvor
