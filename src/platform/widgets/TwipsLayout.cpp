#include "platform/widgets/TwipsLayout.h"

#include "platform/widgets/Twips.h"

#include <QScreen>
#include <QWidget>

namespace kelvor {

double screenDpi(const QWidget& widget) {
    const QScreen* screen = widget.screen();
    return screen != nullptr ? screen->logicalDotsPerInch() : 96.0;
}

void placeTwips(QWidget& widget, int left, int top, int width, int height) {
    const double dpi = screenDpi(widget);
    widget.setGeometry(twipsToPixels(left, dpi), twipsToPixels(top, dpi), twipsToPixels(width, dpi),
                       twipsToPixels(height, dpi));
}

void fixClientSizeTwips(QWidget& window, int width, int height) {
    const double dpi = screenDpi(window);
    window.setFixedSize(twipsToPixels(width, dpi), twipsToPixels(height, dpi));
}

} // namespace kelvor
