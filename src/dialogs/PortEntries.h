#pragma once

#include <QComboBox>
#include <QStyledItemDelegate>

#include <functional>
#include <string>

namespace kelvor {

// Draws a port entry of the open list with the device behind it ("Com 3   /dev/ttyUSB1"),
// while the closed list keeps reading "Com 3".
class PortEntryDelegate final : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    // The text the open list shows for an entry.
    static QString entryText(const QModelIndex& index);

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;
};

// A port list whose entry k - 1 is port k, naming the device behind each entry: in the open
// list beside the entry, in the entry's tooltip and in the list's own tooltip, which follows
// the selected entry.
class PortList final : public QComboBox {
    Q_OBJECT
public:
    explicit PortList(QWidget* parent);

    // Called again whenever the devices change.
    void describeEntries(const std::function<std::string(int)>& deviceForPort);

    // The open list is made as wide as its longest entry; the closed list keeps its width.
    void showPopup() override;

private:
    void showSelectedDevice();
};

} // namespace kelvor
