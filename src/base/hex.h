// Bytes written as hexadecimal digits, two per byte, high digit first.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace pravelo {

// Fills `bytes` from `text`; false unless `text` is exactly two digits (either case) per byte.
bool DecodeHex(std::string_view text, std::span<uint8_t> bytes);

}  // namespace pravelo
