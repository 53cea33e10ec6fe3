#include "dialogs/PortEntries.h"

#include <QAbstractItemView>
#include <QFontMetrics>

#include <algorithm>

namespace kelvor {
namespace {

constexpr int DeviceRole = Qt::UserRole + 1;
const QString Gap = QStringLiteral("   ");

} // namespace

QString PortEntryDelegate::entryText(const QModelIndex& index) {
    const QString entry = index.data(Qt::DisplayRole).toString();
    const QString device = index.data(DeviceRole).toString();
    return device.isEmpty() ? entry : entry + Gap + device;
}

void PortEntryDelegate::initStyleOption(QStyleOptionViewItem* option,
                                        const QModelIndex& index) const {
    QStyledItemDelegate::initStyleOption(option, index);
    option->text = entryText(index);
}

PortList::PortList(QWidget* parent) : QComboBox(parent) {
    connect(this, &QComboBox::currentIndexChanged, this, &PortList::showSelectedDevice);
}

void PortList::describeEntries(const std::function<std::string(int)>& deviceForPort) {
    for (int i = 0; i < count(); ++i) {
        const QString device = QString::fromStdString(deviceForPort(i + 1));
        setItemData(i, device, DeviceRole);
        setItemData(i, device.isEmpty() ? QString() : itemText(i) + ": " + device, Qt::ToolTipRole);
    }
    showSelectedDevice();
}

// The list's parts are made only when it first opens, so the closed list is the plain
// control it always was.
void PortList::showPopup() {
    if (qobject_cast<PortEntryDelegate*>(itemDelegate()) == nullptr) {
        setItemDelegate(new PortEntryDelegate(this));
    }
    const QFontMetrics metrics(view()->font());
    int widest = 0;
    for (int i = 0; i < count(); ++i) {
        widest = std::max(
            widest, metrics.horizontalAdvance(PortEntryDelegate::entryText(model()->index(i, 0))));
    }
    const int margins = 4 * metrics.averageCharWidth();
    view()->setMinimumWidth(std::max(width(), widest + margins));
    QComboBox::showPopup();
}

void PortList::showSelectedDevice() {
    setToolTip(currentData(Qt::ToolTipRole).toString());
}

} // namespace kelvor
