#pragma once

#include "ReaderScreens.h"

namespace kelvor::screens {

// The messages as the desktop's boxes show them: a report's error naming its channel and what
// was wrong with the report; two such boxes open at once, set off from each other; the
// duplicate-port message in front of the setup dialog. All closed again.
bool shootMessages(const ReaderScene& scene);

} // namespace kelvor::screens
