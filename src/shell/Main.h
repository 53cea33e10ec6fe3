#pragma once

#include "shell/AppState.h"

namespace kelvor {

inline constexpr const char* ReleasedOn = "Released:  7-12-2011";

// Records the release text; the caller then creates and shows the main window.
void Main(AppState& state);

} // namespace kelvor
