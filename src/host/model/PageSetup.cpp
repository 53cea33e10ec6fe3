#include "host/model/PageSetup.h"

#include <cmath>
#include <stdexcept>

namespace kelvor {

void checkMargins(const PageSetup& p) {
    for (const double margin : {p.leftMargin, p.rightMargin, p.topMargin, p.bottomMargin,
                                p.headerMargin, p.footerMargin}) {
        if (!std::isfinite(margin) || margin < 0.0) {
            throw std::invalid_argument("page margins must be finite and not negative");
        }
    }
}

} // namespace kelvor
