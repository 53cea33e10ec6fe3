#pragma once

#include "platform/SerialDevices.h"

#include <QDialog>

#include <array>
#include <functional>
#include <map>
#include <string>
#include <vector>

class QComboBox;
class QPushButton;

namespace kelvor {

// "Serial Devices": the device behind each port number 1 to 16, chosen from the devices
// present (names that stay with their adapter first) or typed. Changes nothing by itself:
// whoever opens it takes devices() when it is accepted.
class DeviceDialog final : public QDialog {
    Q_OBJECT
public:
    static constexpr int PortCount = 16;

    DeviceDialog(QWidget& parent, const std::vector<SerialDevice>& present,
                 const std::function<std::string(int)>& deviceForPort);

    // The device chosen for each port number; "" where the field was left empty.
    std::map<int, std::string> devices() const;

    QComboBox& device(int port) { return *devices_.at(static_cast<std::size_t>(port - 1)); }
    QPushButton& okButton() { return *ok_; }
    QPushButton& cancelButton() { return *cancel_; }

private:
    std::array<QComboBox*, PortCount> devices_{};
    QPushButton* ok_ = nullptr;
    QPushButton* cancel_ = nullptr;
};

} // namespace kelvor
