#pragma once

#include <QIcon>
#include <QPixmap>

namespace kelvor {

// The program's icon, drawn in code so the build needs no image files: a specimen between
// the two platens of a compression tester.
QPixmap appIconPixmap(int size = 32);
QIcon appIcon();

} // namespace kelvor
