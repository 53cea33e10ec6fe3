#include "platform/widgets/CenterForm.h"

#include "platform/widgets/Twips.h"

#include <QScreen>
#include <QWidget>

namespace kelvor {

void CenterForm(QWidget& form) {
    QScreen* screen = form.screen();
    if (screen == nullptr) {
        return;
    }
    const double dpi = screen->logicalDotsPerInch();
    const QRect area = screen->geometry();
    const QSize frame = form.frameGeometry().size();
    // Halves are kept as they are in twips and only rounded when they become pixels.
    const double left = (pixelsToTwips(area.width(), dpi) - pixelsToTwips(frame.width(), dpi)) / 2;
    const double top = (pixelsToTwips(area.height(), dpi) - pixelsToTwips(frame.height(), dpi)) / 2;
    form.move(area.x() + twipsToPixels(left, dpi), area.y() + twipsToPixels(top, dpi));
}

} // namespace kelvor
