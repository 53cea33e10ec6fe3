#pragma once

#include <QWidget>

class QAbstractItemModel;
class QCompleter;
class QLineEdit;
class QMenu;
class QToolButton;

namespace kelvor {

// Ways to reach any sheet of a big batch without scrolling its tabs: a button whose menu
// lists every sheet in order, and a "Go to Sheet…" field that finds a sheet by any part of
// its name. Both read the tab names from the window's model and only say which was chosen.
class SheetJump : public QWidget {
    Q_OBJECT
public:
    SheetJump(QAbstractItemModel* names, QWidget* parent = nullptr);

    QToolButton* listButton() const { return list_; }
    QLineEdit* field() const { return field_; }
    QCompleter* completer() const { return completer_; }
    // The sheet list as the button's menu shows it, built afresh.
    QMenu* sheetMenu();
    // Gives the field the focus with its text selected, ready for typing.
    void focusField();

signals:
    // The row of the chosen sheet among the names.
    void chosen(int row);

private:
    // The sheet named exactly (ignoring case) by the field, else the first whose name holds it.
    void goToTyped(const QString& text);

    QAbstractItemModel* names_;
    QToolButton* list_;
    QMenu* menu_;
    QLineEdit* field_;
    QCompleter* completer_;
};

} // namespace kelvor
