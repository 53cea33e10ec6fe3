#include "shell/WorkbookWindows.h"

#include "Version.h"
#include "capture/ChannelName.h"
#include "export/ChannelWorkbooks.h"
#include "host/app/automation/BuiltinApplication.h"
#include "host/view/BookView.h"
#include "platform/widgets/AppIcon.h"
#include "platform/widgets/QtPrompts.h"
#include "workbookview/WorkbookWindow.h"

#include <QDesktopServices>
#include <QEvent>
#include <QMenu>
#include <QWidget>

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
    menu->addSeparator();
    menu->addAction("Close Workbook", this, [this, channel] { closeWorkbook(channel); });
    const bool hasBook = bookOf(channel, false) != nullptr;
    for (QAction* action : menu->actions()) {
        if (action->text() != "Open Workbook Folder") {
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

void WorkbookWindows::showWorkbook(int channel) {
    const auto book = bookOf(channel, true);
    if (book == nullptr) {
        return;
    }
    auto& window = windows_.at(channel);
    if (window == nullptr || &window->book() != book.get()) {
        window = std::make_unique<WorkbookWindow>(
            BookView(book), QString::fromStdString(w_.channels.at(channel).Description));
        // A window of its own, without the main window's icon to inherit.
        window->setWindowIcon(appIcon());
    }
    window->show();
    window->raise();
    window->activateWindow(); // asked for by the user, unlike an export's refresh
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
}

void WorkbookWindows::workbooksChanged() {
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

} // namespace kelvor
