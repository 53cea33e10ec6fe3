#include "shell/WorkbookWindows.h"

#include "Version.h"
#include "capture/ChannelName.h"
#include "export/ChannelWorkbooks.h"
#include "host/app/automation/BuiltinApplication.h"
#include "host/view/BookView.h"
#include "platform/widgets/AppIcon.h"
#include "platform/widgets/QtPrompts.h"
#include "printing/PrintCommands.h"
#include "workbookview/BatchListDialog.h"
#include "workbookview/WorkbookWindow.h"

#include <QDesktopServices>
#include <QEvent>
#include <QMenu>
#include <QWidget>

#include <system_error>

namespace kelvor {

WorkbookWindows::WorkbookWindows(Wiring wiring) : w_(std::move(wiring)) {
    for (int n = 0; n < ChannelCount; ++n) {
        QWidget* light = w_.lights[n];
        if (light == nullptr) {
            continue;
        }
        light->installEventFilter(this);
        light->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(light, &QWidget::customContextMenuRequested, this,
                [this, n, light](QPoint at) { contextMenu(n)->exec(light->mapToGlobal(at)); });
    }
}

WorkbookWindows::~WorkbookWindows() = default;

bool WorkbookWindows::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonDblClick) {
        for (int n = 0; n < ChannelCount; ++n) {
            if (watched == w_.lights[n]) {
                showWorkbook(n);
                return true;
            }
        }
    }
    return QObject::eventFilter(watched, event);
}

std::unique_ptr<QMenu> WorkbookWindows::contextMenu(int channel) {
    auto menu = std::make_unique<QMenu>();
    menu->addAction("Show Workbook", this, [this, channel] { showWorkbook(channel); });
    menu->addAction("Open in Spreadsheet Program", this,
                    [this, channel] { openInSpreadsheetProgram(channel); });
    menu->addAction("Open Workbook Folder", this, [this, channel] { openWorkbookFolder(channel); });
    menu->addAction("Batches…", this, [this, channel] { showBatches(channel); });
    QAction* pdf = nullptr;
    if (w_.savesPdf && w_.setSavesPdf) {
        // A choice for the channel's next tests: there need be no workbook yet.
        pdf = menu->addAction("Save a PDF of Each Test");
        pdf->setCheckable(true);
        pdf->setChecked(w_.savesPdf(channel));
        connect(pdf, &QAction::toggled, this,
                [this, channel](bool on) { w_.setSavesPdf(channel, on); });
    }
    menu->addSeparator();
    menu->addAction("Close Workbook", this, [this, channel] { closeWorkbook(channel); });
    const bool hasBook = bookOf(channel, false) != nullptr;
    for (QAction* action : menu->actions()) {
        if (action != pdf && action->text() != "Open Workbook Folder" &&
            action->text() != "Batches…") {
            action->setEnabled(hasBook);
        }
    }
    return menu;
}

BuiltinApplication* WorkbookWindows::application() const {
    auto* app = dynamic_cast<BuiltinApplication*>(w_.exports.ExcelApp.get());
    return app != nullptr && !app->closed() ? app : nullptr;
}

std::shared_ptr<const BookState> WorkbookWindows::bookOf(int channel, bool tellUser) {
    auto* app = application();
    auto book = app != nullptr ? app->openBook(w_.channels.at(channel).WorkbookIndex) : nullptr;
    if (book == nullptr && tellUser) {
        tell(channel, channelName(w_.channels, channel) +
                          " has no open workbook yet: its next report starts one.");
    }
    return book;
}

// A message about a channel's workbook stands in front of its window when that is open.
PromptOwner WorkbookWindows::ownerFor(int channel) const {
    const WorkbookWindow* shown = window(channel);
    return shown != nullptr && shown->isVisible() ? QtPrompts::ownerOf(*shown) : PromptOwner{};
}

void WorkbookWindows::tell(int channel, const std::string& message) {
    w_.prompts.showFor(ownerFor(channel), message, ProgramTitle, PromptIcon::Information,
                       PromptButtons::Ok);
}

bool WorkbookWindows::open(const QUrl& url) {
    return w_.openUrl ? w_.openUrl(url) : QDesktopServices::openUrl(url);
}

bool WorkbookWindows::showInDesktopSpreadsheet(int channel) {
    const auto& app = w_.exports.ExcelApp;
    if (!app || dynamic_cast<BuiltinApplication*>(app.get()) != nullptr) {
        return false;
    }
    const std::int32_t index = w_.channels.at(channel).WorkbookIndex;
    try {
        app->setVisible(true);
        if (index > 0 && index <= app->Workbooks()->Count()) {
            app->Workbooks()->Item(index)->Activate();
            return true;
        }
    } catch (const xl::HostError&) {
        // Closed by its user: the next report starts another, as the message says.
    }
    tell(channel, channelName(w_.channels, channel) +
                      " has no open workbook yet: its next report starts one.");
    return true;
}

void WorkbookWindows::showWorkbook(int channel) {
    if (showInDesktopSpreadsheet(channel)) {
        return;
    }
    const auto book = bookOf(channel, true);
    if (book == nullptr) {
        return;
    }
    auto& window = windows_.at(channel);
    if (window == nullptr || &window->book() != book.get()) {
        window = makeWindow(channel, BookView(book), false);
    }
    window->show();
    window->raise();
    window->activateWindow(); // asked for by the user, unlike an export's refresh
}

std::unique_ptr<WorkbookWindow> WorkbookWindows::makeWindow(int channel, BookView book,
                                                            bool closedBatch) {
    auto window = std::make_unique<WorkbookWindow>(
        std::move(book), QString::fromStdString(w_.channels.at(channel).Description),
        closedBatch ? WorkbookWindow::Batch::Closed : WorkbookWindow::Batch::Open);
    // A window of its own, without the main window's icon to inherit.
    window->setWindowIcon(appIcon());
    new PrintCommands(*window, systemPrintDialogs()); // the window owns it
    connect(window.get(), &WorkbookWindow::batchesRequested, this,
            [this, channel] { showBatches(channel); });
    return window;
}

void WorkbookWindows::openInSpreadsheetProgram(int channel) {
    const auto book = bookOf(channel, true);
    if (book == nullptr) {
        return;
    }
    if (!book->file.written) {
        tell(channel, "The workbook file " + book->file.path.string() +
                          " has not been written yet; it is written after the next report.");
        return;
    }
    if (!open(QUrl::fromLocalFile(QString::fromStdString(book->file.path.string())))) {
        tell(channel, "No program on this computer opens " + book->file.path.string() +
                          ". Install a spreadsheet program for .xlsx files.");
    }
}

void WorkbookWindows::openWorkbookFolder(int channel) {
    // The folder the channel's workbook is in, or where its first one will go.
    const auto book = bookOf(channel, false);
    const std::filesystem::path folder =
        book != nullptr ? book->file.path.parent_path() : w_.workbookFolder;
    if (!open(QUrl::fromLocalFile(QString::fromStdString(folder.string())))) {
        tell(channel, "The folder " + folder.string() + " could not be opened.");
    }
}

void WorkbookWindows::closeWorkbook(int channel) {
    const auto book = bookOf(channel, true);
    if (book == nullptr) {
        return;
    }
    const std::string file = book->file.path.string();
    const std::string name = book->model.name();
    try {
        CloseChannelWorkbook(w_.exports, w_.channels, channel);
    } catch (const xl::HostError& error) {
        w_.prompts.showFor(ownerFor(channel), error.description(), ProgramTitle,
                           PromptIcon::Exclamation, PromptButtons::Ok);
        return;
    }
    if (w_.closed) {
        w_.closed(channel, name);
    }
    if (w_.log != nullptr) {
        w_.log->write(channelName(w_.channels, channel) + ": workbook closed, " + file);
    }
    windows_.at(channel).reset();
    refreshBatchLists();
}

void WorkbookWindows::workbooksChanged() {
    refreshBatchLists();
    // A closed batch never changes; a window of one that the user closed is made again.
    std::erase_if(closedWindows_, [](const auto& entry) { return !entry.second->isVisible(); });
    auto* app = application();
    for (auto& window : windows_) {
        if (window == nullptr) {
            continue;
        }
        // A window the user closed is made again when asked for; it need not follow meanwhile.
        if (app == nullptr || !app->isOpen(window->book()) || !window->isVisible()) {
            window.reset();
        } else {
            window->refresh();
        }
    }
}

WorkbookWindow* WorkbookWindows::window(int channel) const {
    return windows_.at(channel).get();
}

namespace {

bool samePath(const std::filesystem::path& a, const std::filesystem::path& b) {
    std::error_code error;
    return a.lexically_normal() == b.lexically_normal() || std::filesystem::equivalent(a, b, error);
}

bool onDisk(const std::filesystem::path& file) {
    std::error_code error;
    return std::filesystem::is_regular_file(file, error);
}

// The data sheets of a workbook: one a test.
int testsIn(const Workbook& model) {
    int tests = 0;
    for (std::size_t i = 0; i < model.sheetCount(); ++i) {
        const Sheet& sheet = model.sheet(i);
        tests += asWorksheet(sheet) != nullptr && sheet.name().starts_with("Data ") ? 1 : 0;
    }
    return tests;
}

} // namespace

BatchListDialog* WorkbookWindows::batchList(int channel) const {
    return batchLists_.at(channel).get();
}

WorkbookWindow* WorkbookWindows::closedBatchWindow(const std::filesystem::path& file) const {
    const auto found = closedWindows_.find(file);
    return found != closedWindows_.end() ? found->second.get() : nullptr;
}

std::vector<BatchRow> WorkbookWindows::batchesOf(int channel) {
    if (w_.batches) {
        return w_.batches(channel);
    }
    const auto book = bookOf(channel, false);
    if (book == nullptr) {
        return {};
    }
    // The application knows no test times; the batches' record does.
    BatchRow current;
    current.fileName = book->file.path.filename().string();
    current.path = book->file.path;
    current.open = true;
    current.tests = testsIn(book->model);
    return {current};
}

void WorkbookWindows::showBatches(int channel) {
    auto& list = batchLists_.at(channel);
    if (list == nullptr) {
        list = std::make_unique<BatchListDialog>(
            QString::fromStdString("Batches of " + channelName(w_.channels, channel)),
            BatchListDialog::Actions{
                .open = [this, channel](const BatchRow& batch) { openBatch(channel, batch); },
                .openInProgram =
                    [this, channel](const BatchRow& batch) { openBatchInProgram(channel, batch); },
                .openFolder =
                    [this, channel](const BatchRow& batch) { openBatchFolder(channel, batch); }});
        list->setWindowIcon(appIcon());
    }
    list->setRows(batchesOf(channel));
    list->show();
    list->raise();
    list->activateWindow();
}

void WorkbookWindows::refreshBatchLists() {
    for (int n = 0; n < ChannelCount; ++n) {
        if (batchLists_[n] != nullptr && batchLists_[n]->isVisible()) {
            batchLists_[n]->setRows(batchesOf(n));
        }
    }
}

void WorkbookWindows::tellFromList(int channel, const std::string& message) {
    const BatchListDialog* list = batchList(channel);
    const PromptOwner owner =
        list != nullptr && list->isVisible() ? QtPrompts::ownerOf(*list) : ownerFor(channel);
    w_.prompts.showFor(owner, message, ProgramTitle, PromptIcon::Information, PromptButtons::Ok);
}

void WorkbookWindows::openBatch(int channel, const BatchRow& batch) {
    // The channel's open workbook is shown as Show Workbook does; any other batch is closed,
    // whatever the list said when it was made.
    const auto current = bookOf(channel, false);
    if (current != nullptr && samePath(current->file.path, batch.path)) {
        showWorkbook(channel);
        return;
    }
    auto& window = closedWindows_[batch.path];
    if (window == nullptr) {
        std::optional<BookView> book = w_.openReadOnly ? w_.openReadOnly(batch) : std::nullopt;
        if (!book) {
            closedWindows_.erase(batch.path);
            tellFromList(channel, "The closed batch " + batch.path.string() +
                                      " cannot be opened here." +
                                      (onDisk(batch.path) ? " Open in Spreadsheet Program shows it."
                                                          : " Its file is no longer on disk."));
            return;
        }
        window = makeWindow(channel, std::move(*book), true);
    }
    window->show();
    window->raise();
    window->activateWindow();
}

void WorkbookWindows::openBatchInProgram(int channel, const BatchRow& batch) {
    const std::string file = batch.path.string();
    if (!onDisk(batch.path)) {
        tellFromList(channel, batch.open ? "The workbook file " + file +
                                               " has not been written yet; it is written after "
                                               "the next report."
                                         : "The workbook file " + file + " is no longer on disk.");
        return;
    }
    if (!open(QUrl::fromLocalFile(QString::fromStdString(file)))) {
        tellFromList(channel, "No program on this computer opens " + file +
                                  ". Install a spreadsheet program for .xlsx files.");
    }
}

void WorkbookWindows::openBatchFolder(int channel, const BatchRow& batch) {
    const std::filesystem::path folder = batch.path.parent_path();
    if (!open(QUrl::fromLocalFile(QString::fromStdString(folder.string())))) {
        tellFromList(channel, "The folder " + folder.string() + " could not be opened.");
    }
}

} // namespace kelvor
