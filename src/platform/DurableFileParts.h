#pragma once

#include "platform/DurableFile.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string_view>

// Between platform/DurableFile.cpp, which holds what every system shares, and the system's own
// DurableFile.cpp; nothing else includes it.
namespace kelvor::durable {

inline constexpr std::string_view TemporarySuffix = ".kelvor-tmp";
inline constexpr std::intptr_t ClosedHandle = -1; // also INVALID_HANDLE_VALUE as a number

// The folder a file name lies in; "." for a bare name.
std::filesystem::path folderOf(const std::filesystem::path& target);

// ".<name>.<pid>.kelvor-tmp" beside the target, or ".<name>.<pid>-<n>.kelvor-tmp" when that
// one is taken. Long names are shortened so that the temporary one stays a legal name.
std::filesystem::path temporaryName(const std::filesystem::path& target, int attempt,
                                    unsigned long processId);

// Each system's: the stamp of an open file; zero when the system cannot tell.
FileStamp stampOfHandle(std::intptr_t handle);

// Each system's: lets go of an open handle; nothing is left to report when that fails.
void releaseHandle(std::intptr_t handle) noexcept;

} // namespace kelvor::durable
