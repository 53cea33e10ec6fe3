#pragma once

class QWidget;

namespace kelvor {

// Places a window at the centre of its screen.
void CenterForm(QWidget& form);

} // namespace kelvor
