#pragma once

#include "shell/AppState.h"

#include <QString>

#include <string>

namespace kelvor {

inline constexpr const char* ReleasedOn = "Released:  7-12-2011";

// Records the release text; the caller then creates and shows the main window.
void Main(AppState& state);

// The settings file in the folder the program was started from.
std::string iniPathIn(const QString& programFolder);

} // namespace kelvor
