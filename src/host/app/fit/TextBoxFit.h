#pragma once

#include "host/model/Chart.h"

namespace kelvor {

// Sizes a text box to its text as AutoSize does: the longest line and the line count at the
// box's font, plus the box's inner margins. The box keeps its top left corner unless that
// would push it past the chart's edge; then it moves back onto the chart.
void fitTextBox(TextBox& box);

} // namespace kelvor
