#include "workbookview/WorkbookWindow.h"

#include "workbookview/ChartView.h"
#include "workbookview/SheetGrid.h"
#include "workbookview/SheetJump.h"

#include <QHBoxLayout>
#include <QListView>
#include <QScrollBar>
#include <QShortcut>
#include <QStackedWidget>
#include <QStringListModel>
#include <QToolButton>
#include <QVBoxLayout>

namespace kelvor {

WorkbookWindow::WorkbookWindow(BookView book, QString channelDescription, QWidget* parent)
    : WorkbookWindow(std::move(book), std::move(channelDescription), Batch::Open, parent) {}

WorkbookWindow::WorkbookWindow(BookView book, QString channelDescription, Batch batch,
                               QWidget* parent)
    : QWidget(parent, Qt::Window), book_(std::move(book)),
      description_(std::move(channelDescription)), batch_(batch),
      tabNames_(new QStringListModel(this)), tabs_(new QListView(this)),
      jump_(new SheetJump(tabNames_, this)), batches_(new QToolButton(this)),
      pages_(new QStackedWidget(this)) {
    // Exports raise and refresh it; the user's typing stays where it is.
    setAttribute(Qt::WA_ShowWithoutActivating);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(pages_, 1);
    auto* tabRow = tabRow_ = new QHBoxLayout();
    tabRow->setSpacing(0);
    tabRow->addWidget(tabs_, 1);
    tabRow->addWidget(jump_);
    batches_->setText("Batches…");
    batches_->setToolTip("The channel's batches, open and closed");
    connect(batches_, &QToolButton::clicked, this, &WorkbookWindow::batchesRequested);
    tabRow->addWidget(batches_);
    layout->addLayout(tabRow);
    tabs_->setModel(tabNames_);
    tabs_->setFlow(QListView::LeftToRight);
    tabs_->setWrapping(false);
    tabs_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tabs_->setSelectionMode(QAbstractItemView::SingleSelection);
    tabs_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    tabs_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    tabs_->setStyleSheet("QListView { background: palette(window); }"
                         "QListView::item { border: 1px solid palette(mid); border-top: none;"
                         " padding: 2px 10px; margin-right: 1px; background: palette(button); }"
                         "QListView::item:selected { background: palette(base);"
                         " color: palette(text); font-weight: bold; }");
    tabs_->setFixedHeight(tabs_->fontMetrics().height() + 12 +
                          tabs_->horizontalScrollBar()->sizeHint().height());
    connect(tabs_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this] { showCurrent(); });
    connect(jump_, &SheetJump::chosen, this, [this](int row) {
        setCurrentIndex(row);
        pages_->setFocus(Qt::OtherFocusReason);
    });
    auto* goTo = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_G), this);
    connect(goTo, &QShortcut::activated, jump_, &SheetJump::focusField);
    resize(960, 640);
    refresh();
}

WorkbookWindow::~WorkbookWindow() = default;

std::vector<WorkbookWindow::Tab> WorkbookWindow::visibleSheets() const {
    std::vector<Tab> tabs;
    const Workbook& model = book_.workbook();
    tabs.reserve(model.sheetCount());
    for (std::size_t i = 0; i < model.sheetCount(); ++i) {
        const Sheet& sheet = model.sheet(i);
        if (!sheet.hidden()) {
            tabs.push_back({sheet.id(), sheet.revision(), QString::fromStdString(sheet.name())});
        }
    }
    return tabs;
}

void WorkbookWindow::refresh() {
    auto sheets = visibleSheets();
    // Views of sheets that are gone or changed go; the model they read may have moved.
    for (auto it = views_.begin(); it != views_.end();) {
        const auto found = std::find_if(sheets.begin(), sheets.end(),
                                        [&](const Tab& tab) { return tab.sheetId == it->first; });
        if (found == sheets.end() || found->revision != it->second.first) {
            pages_->removeWidget(it->second.second);
            delete it->second.second;
            it = views_.erase(it);
        } else {
            ++it;
        }
    }

    const Workbook& model = book_.workbook();
    const auto active = model.activeSheet();
    const std::optional<std::uint32_t> activeId =
        active ? std::optional(model.sheet(*active).id()) : std::nullopt;
    // Follow the workbook when its active sheet changed (a new export); otherwise stay on
    // the sheet the user looks at.
    std::optional<std::uint32_t> wanted;
    if (activeId != lastActive_) {
        wanted = activeId;
    } else if (currentIndex() >= 0 && static_cast<std::size_t>(currentIndex()) < shown_.size()) {
        wanted = shown_[static_cast<std::size_t>(currentIndex())].sheetId;
    }
    lastActive_ = activeId;

    const bool sameTabs = std::equal(
        sheets.begin(), sheets.end(), shown_.begin(), shown_.end(),
        [](const Tab& a, const Tab& b) { return a.sheetId == b.sheetId && a.name == b.name; });
    shown_ = std::move(sheets);
    {
        const QSignalBlocker quiet(tabs_->selectionModel());
        if (!sameTabs) {
            QStringList names;
            names.reserve(static_cast<qsizetype>(shown_.size()));
            for (const Tab& tab : shown_) {
                names.append(tab.name);
            }
            tabNames_->setStringList(names);
        }
        int current = shown_.empty() ? -1 : 0;
        for (std::size_t i = 0; i < shown_.size(); ++i) {
            if (wanted && shown_[i].sheetId == *wanted) {
                current = static_cast<int>(i);
            }
        }
        setCurrentIndex(current);
    }
    showCurrent();
    updateTitle();
}

int WorkbookWindow::currentIndex() const {
    const QModelIndex current = tabs_->currentIndex();
    return current.isValid() ? current.row() : -1;
}

void WorkbookWindow::setCurrentIndex(int index) {
    const QModelIndex item = tabNames_->index(index);
    tabs_->setCurrentIndex(item);
    if (item.isValid()) {
        tabs_->scrollTo(item);
    }
}

void WorkbookWindow::showCurrent() {
    const int index = currentIndex();
    if (index < 0 || static_cast<std::size_t>(index) >= shown_.size()) {
        return;
    }
    const Tab& tab = shown_[static_cast<std::size_t>(index)];
    auto found = views_.find(tab.sheetId);
    if (found == views_.end()) {
        QWidget* view = buildView(tab.sheetId);
        pages_->addWidget(view);
        found = views_.emplace(tab.sheetId, std::pair(tab.revision, view)).first;
    }
    pages_->setCurrentWidget(found->second.second);
}

QWidget* WorkbookWindow::buildView(std::uint32_t sheetId) {
    const Workbook& model = book_.workbook();
    for (std::size_t i = 0; i < model.sheetCount(); ++i) {
        const Sheet& sheet = model.sheet(i);
        if (sheet.id() != sheetId) {
            continue;
        }
        if (const auto* worksheet = asWorksheet(sheet)) {
            return new SheetGrid(*worksheet, model.styles());
        }
        if (const auto* chartSheet = asChartSheet(sheet)) {
            return new ChartView(chartSheet->chart());
        }
    }
    return new QWidget();
}

void WorkbookWindow::updateTitle() {
    const QString file = QString::fromStdString(book_.filePath().filename().string());
    QString title = description_.isEmpty() ? file : description_ + QString(" - ") + file;
    if (batch_ == Batch::Closed) {
        title += " (closed batch, read-only)";
    }
    setWindowTitle(title);
}

QStringList WorkbookWindow::tabNames() const {
    return tabNames_->stringList();
}

std::optional<std::uint32_t> WorkbookWindow::currentSheetId() const {
    const int index = currentIndex();
    if (index < 0 || static_cast<std::size_t>(index) >= shown_.size()) {
        return std::nullopt;
    }
    return shown_[static_cast<std::size_t>(index)].sheetId;
}

void WorkbookWindow::addCommandButton(QToolButton* button) {
    button->setParent(this);
    tabRow_->addWidget(button);
}

QString WorkbookWindow::currentTab() const {
    const int index = currentIndex();
    return index < 0 ? QString() : tabNames_->stringList().at(index);
}

void WorkbookWindow::showTab(const QString& name) {
    const int index = static_cast<int>(tabNames_->stringList().indexOf(name));
    if (index >= 0) {
        setCurrentIndex(index);
    }
}

QWidget* WorkbookWindow::currentView() const {
    return pages_->currentWidget();
}

} // namespace kelvor
