#pragma once

class QWidget;

namespace kelvor {

// Control positions of the windows are given in twips; these turn them into pixels for the
// screen the window is on.
double screenDpi(const QWidget& widget);
void placeTwips(QWidget& widget, int left, int top, int width, int height);
// A window whose client area has exactly this size and cannot be resized.
void fixClientSizeTwips(QWidget& window, int width, int height);

} // namespace kelvor
