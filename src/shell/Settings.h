#pragma once

#include "capture/ChannelInfo.h"
#include "platform/Prompts.h"

#include <QLocale>

#include <cstdint>
#include <string>

namespace kelvor {

inline constexpr std::int32_t SettingsRead = -1;
inline constexpr std::int32_t SettingsWrite = 1;

// Longest value taken from the settings file, in characters; longer values are cut.
inline constexpr std::size_t SettingsValueLimit = 127;

// What the settings file reads and writes.
struct SettingsValues {
    float Top = 0;  // main window position in twips; the caller fills in the window's
    float Left = 0; // current position before a read
    float SummaryTraceOffset = 0;
    ChannelTable& channels; // Description, CommPort, Enabled
};

// Reads (SettingsRead) or writes (SettingsWrite) the whole settings file; any other action
// only makes sure the file exists. Each problem is shown as "INI file problem: <path>" and the
// work goes on with the next value; a value that could not be read keeps what it held.
// Numbers of the window position and the trace offset follow `locale`.
void LoadSaveSettings(std::int32_t action, const std::string& path, SettingsValues& values,
                      Prompts& prompts, const QLocale& locale = QLocale::system());

} // namespace kelvor
