#pragma once

// Where the replay server and the test that starts it meet: the server's class, and the
// values the test leaves for it under HKEY_CURRENT_USER (the recording, the folder for the
// results, and which section of the recording the next server process answers).

#include <guiddef.h>

namespace kelvor::test::replay {

// {6F1D2C9A-4B7E-4E1B-9C3A-5A7D2E8F1B40}
inline constexpr CLSID ReplayServerClass = {
    0x6f1d2c9a, 0x4b7e, 0x4e1b, {0x9c, 0x3a, 0x5a, 0x7d, 0x2e, 0x8f, 0x1b, 0x40}};
inline constexpr const wchar_t* ReplayServerClassText = L"{6F1D2C9A-4B7E-4E1B-9C3A-5A7D2E8F1B40}";

inline constexpr const wchar_t* ReplayKey = L"Software\\KelvorReader2\\Replay";
inline constexpr const wchar_t* RecordingValue = L"Recording";
inline constexpr const wchar_t* ResultsValue = L"Results";
inline constexpr const wchar_t* NextSectionValue = L"NextSection";

} // namespace kelvor::test::replay
