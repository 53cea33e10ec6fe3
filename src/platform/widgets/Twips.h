#pragma once

#include <cmath>

namespace kelvor {

// Window positions and sizes are kept in twips (1/1440 inch); the screen's logical DPI turns
// them into pixels (15 twips a pixel at 96 DPI).
inline int twipsToPixels(double twips, double dpi) {
    return static_cast<int>(std::lround(twips * dpi / 1440.0));
}
inline double pixelsToTwips(int pixels, double dpi) {
    return pixels * 1440.0 / dpi;
}

} // namespace kelvor
