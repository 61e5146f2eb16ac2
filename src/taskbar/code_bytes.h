// Little-endian 32-bit values in byte layouts (code blocks, records).
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace pravelo::taskbar {

inline void AppendLittleEndian(std::vector<uint8_t>& bytes, uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8) bytes.push_back(static_cast<uint8_t>(value >> shift));
}

inline void StoreLittleEndian(std::span<uint8_t> bytes, std::size_t offset, uint32_t value) {
  for (std::size_t i = 0; i < 4; ++i) bytes[offset + i] = static_cast<uint8_t>(value >> (8 * i));
}

}  // namespace pravelo::taskbar
