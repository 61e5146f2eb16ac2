// The machine-wide registry values the program writes.
#pragma once

#include <string_view>
#include "pravelo_version.h"

namespace pravelo::settings {

inline constexpr std::string_view kMemoryManagementKey =
    "SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Memory Management";
inline constexpr std::string_view kLargeSystemCache = "LargeSystemCache";
inline constexpr std::string_view kDisablePagingExecutive = "DisablePagingExecutive";

inline constexpr std::string_view kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr std::string_view kRunValueName = PRAVELO_PRODUCT_NAME "1";
// In the system folder.
inline constexpr std::string_view kAutostartProgram = "\\Pravelo1.exe";
inline constexpr std::string_view kPictureFile = "\\pravelo_pic.bmp";

}  // namespace pravelo::settings
