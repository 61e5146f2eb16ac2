// Whole-file reads and writes through an open handle.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

namespace pravelo {

bool WriteAll(HANDLE file, std::string_view bytes);
// From the handle's position to the end; nothing when a read fails.
std::optional<std::string> ReadAll(HANDLE file);

}  // namespace pravelo
