#include "printing/PrintCommands.h"

#include "printing/PdfFile.h"
#include "printing/SheetCsv.h"
#include "printing/SheetPrinting.h"
#include "workbookview/WorkbookWindow.h"

#include <QAction>
#include <QFileDialog>
#include <QInputDialog>
#include <QMenu>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QToolButton>

#include <filesystem>

namespace kelvor {

namespace {

const QStringList& scopeNames() {
    static const QStringList names{"The sheet shown", "This test (data sheet and its chart)",
                                   "The whole workbook"};
    return names;
}

const Sheet* shownSheet(const WorkbookWindow& window) {
    const auto id = window.currentSheetId();
    const Workbook& book = window.bookView().workbook();
    for (std::size_t i = 0; id && i < book.sheetCount(); ++i) {
        if (book.sheet(i).id() == *id) {
            return &book.sheet(i);
        }
    }
    return nullptr;
}

std::filesystem::path pathOf(const QString& file) {
    return std::filesystem::path(file.toStdWString());
}

} // namespace

PrintDialogs systemPrintDialogs() {
    return {
        .askScope = [](QWidget* parent, const QString& command) -> std::optional<PrintScope> {
            bool ok = false;
            const QString chosen = QInputDialog::getItem(
                parent, command, "Which sheets:", scopeNames(), 0, false, &ok);
            if (!ok) {
                return std::nullopt;
            }
            return static_cast<PrintScope>(scopeNames().indexOf(chosen));
        },
        .askPrinter =
            [](QWidget* parent, QPrinter& printer) {
                QPrintDialog dialog(&printer, parent);
                return dialog.exec() == QDialog::Accepted;
            },
        .askSavePath =
            [](QWidget* parent, const QString& caption, const QString& suggested,
               const QString& filter) {
                return QFileDialog::getSaveFileName(parent, caption, suggested, filter);
            },
        .tell =
            [](QWidget* parent, const QString& message) {
                QMessageBox::warning(parent, "KelvorReader2", message);
            },
    };
}

PrintCommands::PrintCommands(WorkbookWindow& window, PrintDialogs dialogs)
    : QObject(&window), window_(window), dialogs_(std::move(dialogs)),
      print_(new QAction("Print…", &window)), pdf_(new QAction("Save as PDF…", &window)),
      csv_(new QAction("Save Sheet as CSV…", &window)) {
    print_->setShortcut(QKeySequence::Print);
    print_->setShortcutContext(Qt::WindowShortcut);
    window.addAction(print_); // Ctrl+P works with the menu closed
    connect(print_, &QAction::triggered, this, &PrintCommands::print);
    connect(pdf_, &QAction::triggered, this, &PrintCommands::saveAsPdf);
    connect(csv_, &QAction::triggered, this, &PrintCommands::saveSheetAsCsv);
    auto* button = new QToolButton();
    button->setText("Print");
    button->setToolTip("Print the workbook's sheets, save them as PDF or a sheet as CSV");
    button->setPopupMode(QToolButton::InstantPopup);
    auto* menu = new QMenu(button);
    menu->addAction(print_);
    menu->addAction(pdf_);
    menu->addAction(csv_);
    connect(menu, &QMenu::aboutToShow, this, &PrintCommands::updateActions);
    button->setMenu(menu);
    window.addCommandButton(button);
}

void PrintCommands::updateActions() {
    const Sheet* shown = shownSheet(window_);
    print_->setEnabled(shown != nullptr);
    pdf_->setEnabled(shown != nullptr);
    csv_->setEnabled(shown != nullptr && asWorksheet(*shown) != nullptr);
}

std::optional<std::vector<std::uint32_t>> PrintCommands::askSheets(const QString& command) {
    const auto shown = window_.currentSheetId();
    if (!shown) {
        return std::nullopt;
    }
    const auto scope = dialogs_.askScope(&window_, command);
    if (!scope) {
        return std::nullopt;
    }
    return sheetsToPrint(window_.bookView().workbook(), *shown, *scope);
}

QString PrintCommands::suggestedPath(const QString& extension) const {
    const std::filesystem::path& file = window_.bookView().filePath();
    const Sheet* shown = shownSheet(window_);
    QString name = QString::fromStdWString(file.stem().wstring());
    if (shown != nullptr) {
        name += " - " + QString::fromStdString(shown->name());
    }
    return QString::fromStdWString((file.parent_path() / name.toStdWString()).wstring()) + "." +
           extension;
}

void PrintCommands::print() {
    const auto sheets = askSheets("Print");
    if (!sheets) {
        return;
    }
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(QString::fromStdWString(window_.bookView().filePath().stem().wstring()));
    if (!dialogs_.askPrinter(&window_, printer)) {
        return;
    }
    printSheets(window_.bookView(), *sheets, printer);
    if (printer.printerState() == QPrinter::Error) {
        dialogs_.tell(&window_, "The printer could not print the sheets.");
    }
}

void PrintCommands::saveAsPdf() {
    const auto sheets = askSheets("Save as PDF");
    if (!sheets) {
        return;
    }
    const QString path =
        dialogs_.askSavePath(&window_, "Save as PDF", suggestedPath("pdf"), "PDF files (*.pdf)");
    if (path.isEmpty()) {
        return;
    }
    if (const auto failure = savePdf(window_.bookView(), *sheets, pathOf(path)); !failure.empty()) {
        dialogs_.tell(&window_, QString::fromStdString(failure));
    }
}

void PrintCommands::saveSheetAsCsv() {
    const Sheet* shown = shownSheet(window_);
    const Worksheet* sheet = shown != nullptr ? asWorksheet(*shown) : nullptr;
    if (sheet == nullptr) {
        dialogs_.tell(&window_, "A chart sheet has no cells to save as CSV.");
        return;
    }
    const QString path = dialogs_.askSavePath(&window_, "Save Sheet as CSV", suggestedPath("csv"),
                                              "CSV files (*.csv)");
    if (path.isEmpty()) {
        return;
    }
    if (const auto failure =
            saveSheetCsv(*sheet, window_.bookView().workbook().styles(), pathOf(path));
        !failure.empty()) {
        dialogs_.tell(&window_, QString::fromStdString(failure));
    }
}

} // namespace kelvor
