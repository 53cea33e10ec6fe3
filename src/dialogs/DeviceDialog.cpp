#include "dialogs/DeviceDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace kelvor {
namespace {

constexpr int Columns = 2; // eight port numbers a column keep the dialog on a small screen

} // namespace

DeviceDialog::DeviceDialog(QWidget& parent, const std::vector<SerialDevice>& present,
                           const std::function<std::string(int)>& deviceForPort)
    : QDialog(&parent) {
    setWindowTitle("Serial Devices");
    setObjectName("DeviceDialog");
    auto* layout = new QVBoxLayout(this);
    auto* hint =
        new QLabel(present.empty() ? QStringLiteral("No serial device was found. A device may "
                                                    "still be typed for a port number.")
                                   : QStringLiteral("The device behind each port number. Names "
                                                    "that stay with their adapter come first."),
                   this);
    hint->setWordWrap(true);
    layout->addWidget(hint);

    auto* grid = new QGridLayout;
    const int rows = (PortCount + Columns - 1) / Columns;
    for (int port = 1; port <= PortCount; ++port) {
        auto* label = new QLabel(QString("Com %1").arg(port), this);
        auto* combo = new QComboBox(this);
        combo->setObjectName(QString("Device_%1").arg(port));
        combo->setEditable(true);
        combo->setInsertPolicy(QComboBox::NoInsert);
        combo->setSizeAdjustPolicy(QComboBox::AdjustToContents);
        combo->setMinimumContentsLength(24);
        for (const SerialDevice& device : present) {
            combo->addItem(QString::fromStdString(device.label),
                           QString::fromStdString(device.name));
        }
        const QString current = QString::fromStdString(deviceForPort(port));
        if (const int listed = combo->findData(current); listed >= 0) {
            combo->setCurrentIndex(listed);
        } else {
            combo->setEditText(current);
        }
        label->setBuddy(combo);
        const int row = (port - 1) % rows;
        const int column = 2 * ((port - 1) / rows);
        grid->addWidget(label, row, column);
        grid->addWidget(combo, row, column + 1);
        devices_[static_cast<std::size_t>(port - 1)] = combo;
    }
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
    layout->addLayout(grid);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    ok_ = buttons->button(QDialogButtonBox::Ok);
    cancel_ = buttons->button(QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

std::map<int, std::string> DeviceDialog::devices() const {
    std::map<int, std::string> chosen;
    for (int port = 1; port <= PortCount; ++port) {
        const QComboBox& combo = *devices_[static_cast<std::size_t>(port - 1)];
        // A device picked from the list is its name, not the label that also says where a
        // link leads.
        const QString text = combo.currentText().trimmed();
        const int listed = combo.findText(text, Qt::MatchExactly);
        chosen.emplace(port,
                       (listed >= 0 ? combo.itemData(listed).toString() : text).toStdString());
    }
    return chosen;
}

} // namespace kelvor
