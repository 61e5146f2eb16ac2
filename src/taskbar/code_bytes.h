// Little-endian values in byte layouts (code blocks, records).
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace pravelo::taskbar {

template <typename Value>
void AppendLittleEndian(std::vector<uint8_t>& bytes, Value value) {
  for (std::size_t i = 0; i < sizeof(Value); ++i) bytes.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

template <typename Value>
void StoreLittleEndian(std::span<uint8_t> bytes, std::size_t offset, Value value) {
  for (std::size_t i = 0; i < sizeof(Value); ++i)
    bytes[offset + i] = static_cast<uint8_t>(value >> (8 * i));
}

}  // namespace pravelo::taskbar
