#pragma once

#include "host/xlsx/BlockPartCache.h"
#include "host/xlsx/ChartPartCache.h"
#include "host/xlsx/PackageXml.h"
#include "host/xlsx/WorksheetPartCache.h"
#include "host/xlsx/ZipArchive.h"
#include "platform/DurableFile.h"

#include <cstdint>
#include <deque>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace kelvor {

class ChartSheet;
class Sheet;
class SourceFile;
class Workbook;
class Worksheet;

// Writes a workbook as an .xlsx package. Keep one writer for as long as its workbook lives:
// it reuses every sheet's compressed parts while the sheet's revision is unchanged, so
// rewriting a big workbook costs only its changed sheets. What it keeps of a part between
// writes is where its bytes lie in the file written last; they are copied from there, so the
// memory a workbook needs does not grow with its file. Should that file have changed or gone,
// the parts are made again.
class XlsxWriter {
public:
    XlsxWriter();

    // Writes through a temporary file in the same folder that replaces `path` only once every
    // byte of it is on the disk; on any failure the file at `path` stays as it was. Throws
    // XlsxError naming the file and the cause in words fit for the user.
    void write(const Workbook& workbook, const std::filesystem::path& path);

    // Sheet parts the last write compressed anew, and those it took from earlier writes.
    const std::vector<std::string>& compressedParts() const;
    const std::vector<std::string>& reusedParts() const;
    // Of those, the ones copied from the file written before.
    const std::vector<std::string>& copiedParts() const;
    // The worksheet rows of the last write's changed sheets: made, extended or kept.
    const WorksheetPartCache::RowWork& rowWork() const { return worksheets_.lastRowWork(); }

private:
    // A sheet's parts in the order a chart sheet has them; a worksheet has the first only.
    enum class PartRole : std::uint64_t {
        Sheet,
        SheetRelationships,
        Drawing,
        DrawingRelationships,
        Chart,
        ChartRelationships,
        Shapes
    };
    // Kept by the sheet's key and the part's role; current while the sheet's revision and the
    // part's name (from the sheet's number) are those it was made with.
    struct CachedPart {
        std::uint64_t revision;
        std::uint32_t sheetId; // its name's number
        CompressedPart part;
        bool used;
    };

    // What the sheets add to the package: content types, the workbook's relationship
    // targets and their compressed parts, in the order they are written. The names are the
    // kept parts' own: a write of thousands of unchanged sheets makes no text for them.
    struct SheetParts {
        std::vector<PartType> types;
        std::vector<std::string_view> targets;
        std::vector<CachedPart*> parts;
    };
    // Which parts the last write made, took and copied, by their kept names; turned into
    // texts only when asked for.
    struct PartNames {
        std::vector<const std::string*> names;
        mutable std::vector<std::string> texts;
        mutable bool made = false;
        void clear();
        void add(const std::string& name) { names.push_back(&name); }
        const std::vector<std::string>& list() const;
    };

    // `make` is called only when the kept part is not current; it names the part.
    template <class Make>
    CachedPart& sheetPart(const Sheet& sheet, PartRole role, std::uint64_t revision,
                          const Make& make);
    template <class Name, class Content>
    CachedPart& addPart(SheetParts& out, const ChartSheet& sheet, PartRole role,
                        std::string_view type, const Name& name, const Content& content);
    void addWorksheet(SheetParts& out, const Worksheet& sheet);
    void addChartSheet(SheetParts& out, const ChartSheet& sheet);
    std::deque<CompressedPart> packageParts(const Workbook& workbook, const SheetParts& sheets);
    // The file written last, while it is as it was written; else null, and the parts whose
    // bytes are in it are forgotten.
    std::unique_ptr<SourceFile> openPrevious();
    void forgetStoredParts();
    FileStamp writeWhole(const std::filesystem::path& path, std::unique_ptr<SourceFile> previous,
                         const std::vector<const CompressedPart*>& parts,
                         std::vector<std::uint64_t>& entries, std::string& end);
    bool growsInPlace(const std::filesystem::path& path) const;
    // The bytes of an archive of these parts with no unused ones between them.
    static std::uint64_t liveBytes(const std::vector<const CompressedPart*>& parts,
                                   const std::string& end);
    // Throws PreviousFileChanged when the file written last no longer holds a part's bytes.
    void writeOnce(const Workbook& workbook, const std::filesystem::path& path,
                   std::unique_ptr<SourceFile> previous);
    // Every kept part lets go of its bytes for where they lie in the file just written.
    // `entries` holds the package's small parts first, then the sheets'.
    void rememberStored(const SheetParts& sheets, const std::vector<std::uint64_t>& entries);

    std::unordered_map<std::uint64_t, CachedPart> cache_; // by sheet key and role
    ChartPartCache charts_;
    // The parts that list every sheet.
    BlockPartCache contentTypes_;
    BlockPartCache workbookPart_;
    BlockPartCache workbookRelationships_;
    WorksheetPartCache worksheets_;
    std::string created_;
    PartNames compressed_;
    PartNames reused_;
    PartNames copied_;
    // The file written last, as it was when renamed into place, and the bytes it ends with.
    std::filesystem::path previousPath_;
    FileStamp previousStamp_;
    std::string previousEnd_;
    // What of it the parts use; the rest is parts replaced since it was last written whole.
    std::uint64_t previousLive_ = 0;
};

} // namespace kelvor
