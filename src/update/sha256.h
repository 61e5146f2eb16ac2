// SHA-256 of a byte string, to check a downloaded executable against its published digest.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace pravelo::update {

using Sha256Digest = std::array<uint8_t, 32>;

Sha256Digest Sha256(std::string_view bytes);

// A digest as 64 lower-case hexadecimal digits.
std::string DigestHex(const Sha256Digest& digest);
std::string Sha256Hex(std::string_view bytes);

// Whether `hex` is the digest, in either case; false for anything but 64 digits.
bool SameDigest(const Sha256Digest& digest, std::string_view hex);
bool MatchesSha256(std::string_view bytes, std::string_view hex);

}  // namespace pravelo::update
