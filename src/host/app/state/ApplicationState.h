#pragma once

#include "host/app/calc/Calculation.h"
#include "host/app/chartdata/ChartCaches.h"
#include "host/app/files/WorkbookFiles.h"
#include "host/app/state/ChartElementRef.h"
#include "host/app/state/SheetsAside.h"
#include "host/model/Workbook.h"

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <variant>
#include <vector>

namespace kelvor {

struct BuiltinOptions {
    // Sheets of a new workbook ("Sheet1", "Sheet2", ...).
    int defaultSheetCount = 1;
    // Where workbooks go, as new files, that cannot be written to their own folder when the
    // application is released: their last chance. None: their unwritten changes are lost.
    std::filesystem::path rescueFolder{};
    // Called after workbooks were written at the end of an export, and after a workbook or
    // the application closed: a window that shows them looks again.
    std::function<void()> workbooksChanged{};
    // Asked before anything is written into the workbook folder: false while the folder at its
    // path is not the right one (the rescue folder is not asked). None: always right.
    std::function<bool()> folderIsOurs{};
    // The paper new workbooks print on (PaperA4, PaperLetter): the system's, told by the shell.
    int paperSize = PaperA4;
};

// Tells the user something (a message box in the program).
using Notify = std::function<void(const std::string& message)>;

// What is selected on a chart sheet: a chart element. (A worksheet keeps its selection
// itself, to be saved with it.)
struct SheetView {
    ChartElementRef chartSelection;
};

// A workbook's sheets in a few numbers: which sheets it holds and the newest of their
// revisions. Revisions come from one counter, so any change to any of them shows.
struct SheetsStamp {
    std::size_t count = 0;
    std::uint64_t keySum = 0;
    std::uint64_t keyMix = 0;
    std::uint64_t newest = 0;
    bool operator==(const SheetsStamp&) const = default;

    static SheetsStamp of(const Workbook& book);
};

struct BookState {
    explicit BookState(std::string name) : model(std::move(name)) {}
    Workbook model;
    std::unordered_map<std::uint32_t, SheetView> views;
    int sheetsMade = 0;       // numbers "Sheet<n>" names
    int chartsMade = 0;       // numbers "Chart<n>" names
    bool hasFormulas = false; // may hold formulas: calculation has work here
    bool stale = false;       // changed since its formulas were last calculated
    // Its sheets when its formulas were last calculated: a calculation of the same sheets
    // would change nothing.
    SheetsStamp calculated;
    BookFile file;
    ChartCacheState chartCaches;
    // Sheet key -> the sheet's revision when its rows were last fitted.
    std::unordered_map<std::uint64_t, std::uint64_t> rowsFitted;
    SheetsAside aside;
};

// A range copied with Copy: pasted from where it stands at the time of the paste.
struct CopiedRange {
    std::weak_ptr<BookState> book;
    std::uint32_t sheetId;
    CellRange area;
};

// The application's own clipboard: nothing, text, or a copied range.
using Clipboard = std::variant<std::monostate, std::string, CopiedRange>;

// Everything the application and its handles share. Handles keep it alive, so a handle
// that outlives the application fails cleanly instead of dangling.
struct ApplicationState {
    ApplicationState(std::filesystem::path folder, Notify notify, BuiltinOptions options);

    WorkbookFiles files;
    Notify notify;
    BuiltinOptions options;
    std::vector<std::shared_ptr<BookState>> books;
    std::shared_ptr<BookState> activeBook;
    Clipboard clipboard;
    bool running = true;
    bool visible = false;
    bool displayAlerts = true;
    bool screenUpdating = true;
    bool automatic = true;
    // Workbooks are not written when screen updating comes back on (a batch played again
    // from the journal, whose file holds it already).
    bool writesHeld = false;
    int booksMade = 0;
    FormulaCache formulas;

    // Throws the error automation gives for a vanished application.
    void checkRunning() const;
    // The book must still belong to the running application.
    void checkOpen(const BookState& book) const;

    std::shared_ptr<BookState> addBook();

    // A change of the book that its formulas may depend on; with automatic calculation the
    // results are brought up to date before anything is read.
    void edited(BookState& book) { book.stale = true; }
    void settle();
    void calculate(BookState& book);
    void calculateAll();

    // Writes every workbook changed since its last write; the failures worth telling (see
    // worthTelling), all of them on the `last` write.
    std::vector<WriteFailure> writeChanged(bool last);
    // Writes the workbook when it changed since its last write; the failure.
    std::optional<WriteFailure> writeBook(BookState& book);
    void prepareWrite(BookState& book);
    // Every changed workbook counts as written to its file as it is now: brought up to date
    // as for a write, without writing.
    void adoptChanged();
    // Takes the workbook out of the application; another becomes active when it was.
    void removeBook(const BookState& book);
    void tellChanged() const;
    // Writes every workbook that still has unwritten changes into the folder as a new file;
    // gives the files written.
    std::vector<std::filesystem::path> rescueChanged(const std::filesystem::path& folder);
};

// A sheet as a handle names it: its workbook and its id there.
struct SheetRef {
    std::shared_ptr<ApplicationState> app;
    std::shared_ptr<BookState> book;
    std::uint32_t sheetId = 0;
    // Where the sheet stood when last found: tried first, since sheets seldom move.
    mutable std::size_t position = 0;

    // Each throws when the application, the workbook or the sheet is gone.
    std::size_t index() const;
    Sheet& sheet() const;
    Worksheet& worksheet() const; // 438 on a chart sheet
    SheetView& view() const;
    // The active sheet of the active workbook.
    bool isActive() const;
};

SheetRef sheetAt(const std::shared_ptr<ApplicationState>& app,
                 const std::shared_ptr<BookState>& book, std::size_t index);

// Makes the sheet the active one of its workbook, and the workbook the active one.
void activateSheet(ApplicationState& app, const std::shared_ptr<BookState>& book,
                   std::size_t index);

// Inserts a worksheet "Sheet<n>" at `position` (before the active sheet when none) and makes
// it the workbook's active sheet. Returns its index.
std::size_t addWorksheet(BookState& book, std::optional<std::size_t> position);

// Removes the sheet; when it was active, the next visible sheet to its right becomes active,
// else the nearest to its left. 1004 when no visible sheet would remain.
void deleteSheet(ApplicationState& app, BookState& book, std::size_t index);
// The same, giving the sheet back instead of destroying it.
std::unique_ptr<Sheet> takeOutSheet(ApplicationState& app, BookState& book, std::size_t index);

// Hides or shows the sheet; hiding the active sheet activates another as deleting does.
// 1004 when no visible sheet would remain.
void setSheetHidden(BookState& book, std::size_t index, bool hidden);

} // namespace kelvor
