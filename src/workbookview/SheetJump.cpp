#include "workbookview/SheetJump.h"

#include <QAbstractItemModel>
#include <QCompleter>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMenu>
#include <QToolButton>

namespace kelvor {

SheetJump::SheetJump(QAbstractItemModel* names, QWidget* parent)
    : QWidget(parent), names_(names), list_(new QToolButton(this)), menu_(new QMenu(this)),
      field_(new QLineEdit(this)), completer_(new QCompleter(names, this)) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(2, 0, 2, 0);
    layout->setSpacing(4);
    list_->setText("Sheets");
    list_->setToolTip("List of all sheets");
    list_->setPopupMode(QToolButton::InstantPopup);
    list_->setMenu(menu_);
    connect(menu_, &QMenu::aboutToShow, this, [this] { sheetMenu(); });
    layout->addWidget(list_);

    field_->setPlaceholderText("Go to Sheet…");
    field_->setToolTip("Go to Sheet… (Ctrl+G): type part of a sheet's name");
    field_->setClearButtonEnabled(true);
    field_->setFixedWidth(field_->fontMetrics().horizontalAdvance("Data 000 Plot") * 3 / 2);
    completer_->setCaseSensitivity(Qt::CaseInsensitive);
    completer_->setFilterMode(Qt::MatchContains);
    completer_->setCompletionMode(QCompleter::PopupCompletion);
    completer_->setMaxVisibleItems(16);
    field_->setCompleter(completer_);
    connect(completer_, qOverload<const QString&>(&QCompleter::activated), this,
            [this](const QString& name) { goToTyped(name); });
    connect(field_, &QLineEdit::returnPressed, this, [this] { goToTyped(field_->text()); });
    layout->addWidget(field_);
}

QMenu* SheetJump::sheetMenu() {
    menu_->clear();
    for (int row = 0; row < names_->rowCount(); ++row) {
        const QString name = names_->index(row, 0).data().toString();
        // An ampersand in a sheet name is text, not a shortcut mark.
        QAction* action = menu_->addAction(QString(name).replace('&', "&&"));
        connect(action, &QAction::triggered, this, [this, row] { emit chosen(row); });
    }
    return menu_;
}

void SheetJump::focusField() {
    field_->setFocus(Qt::ShortcutFocusReason);
    field_->selectAll();
}

void SheetJump::goToTyped(const QString& text) {
    const QString wanted = text.trimmed();
    if (wanted.isEmpty()) {
        return;
    }
    int partly = -1;
    for (int row = 0; row < names_->rowCount(); ++row) {
        const QString name = names_->index(row, 0).data().toString();
        if (name.compare(wanted, Qt::CaseInsensitive) == 0) {
            emit chosen(row);
            return;
        }
        if (partly < 0 && name.contains(wanted, Qt::CaseInsensitive)) {
            partly = row;
        }
    }
    if (partly >= 0) {
        emit chosen(partly);
    }
}

} // namespace kelvor
