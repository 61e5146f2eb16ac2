// The machine-wide registry values the program writes.
#pragma once

#include <string_view>
#include "pravelo_version.h"

namespace pravelo::settings {

inline constexpr std::string_view kMemoryManagementKey =
    "SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Memory Management";
inline constexpr std::string_view kLargeSystemCache = "LargeSystemCache";
inline constexpr std::string_view kDisablePagingExecutive = "DisablePagingExecutive";

inline constexpr std::string_view kRunKey = PRAVELO_RUN_KEY;
inline constexpr std::string_view kRunValueName = PRAVELO_RUN_VALUE;
// In the system folder.
inline constexpr std::string_view kAutostartProgram = "\\" PRAVELO_AUTOSTART_PROGRAM;
inline constexpr std::string_view kPictureFile = "\\" PRAVELO_PICTURE_FILE;

}  // namespace pravelo::settings
