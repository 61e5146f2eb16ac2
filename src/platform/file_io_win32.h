// Whole-file reads and writes through an open handle.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace pravelo {

bool WriteAll(HANDLE file, std::string_view bytes);
// From the handle's position to the end; nothing when a read fails or more than `maxBytes`
// are there.
std::optional<std::string> ReadAll(HANDLE file, std::size_t maxBytes = SIZE_MAX);

}  // namespace pravelo
