#include "update/sha256.h"

#include <algorithm>

#include "base/hex.h"

namespace pravelo::update {
namespace {

constexpr std::array<uint32_t, 64> kRoundConstants = {
    0x428a2f98, 0x71374491, 0xb5c0fbcf, 0xe9b5dba5, 0x3956c25b, 0x59f111f1, 0x923f82a4, 0xab1c5ed5,
    0xd807aa98, 0x12835b01, 0x243185be, 0x550c7dc3, 0x72be5d74, 0x80deb1fe, 0x9bdc06a7, 0xc19bf174,
    0xe49b69c1, 0xefbe4786, 0x0fc19dc6, 0x240ca1cc, 0x2de92c6f, 0x4a7484aa, 0x5cb0a9dc, 0x76f988da,
    0x983e5152, 0xa831c66d, 0xb00327c8, 0xbf597fc7, 0xc6e00bf3, 0xd5a79147, 0x06ca6351, 0x14292967,
    0x27b70a85, 0x2e1b2138, 0x4d2c6dfc, 0x53380d13, 0x650a7354, 0x766a0abb, 0x81c2c92e, 0x92722c85,
    0xa2bfe8a1, 0xa81a664b, 0xc24b8b70, 0xc76c51a3, 0xd192e819, 0xd6990624, 0xf40e3585, 0x106aa070,
    0x19a4c116, 0x1e376c08, 0x2748774c, 0x34b0bcb5, 0x391c0cb3, 0x4ed8aa4a, 0x5b9cca4f, 0x682e6ff3,
    0x748f82ee, 0x78a5636f, 0x84c87814, 0x8cc70208, 0x90befffa, 0xa4506ceb, 0xbef9a3f7, 0xc67178f2};

constexpr std::array<uint32_t, 8> kInitialState = {0x6a09e667, 0xbb67ae85, 0x3c6ef372, 0xa54ff53a,
                                                   0x510e527f, 0x9b05688c, 0x1f83d9ab, 0x5be0cd19};

constexpr size_t kBlockBytes = 64;

constexpr uint32_t RotateRight(uint32_t value, int count) {
  return (value >> count) | (value << (32 - count));
}

void CompressBlock(std::array<uint32_t, 8>& state, const uint8_t* block) {
  std::array<uint32_t, 64> schedule{};
  for (size_t i = 0; i < 16; ++i) {
    schedule[i] = uint32_t{block[4 * i]} << 24 | uint32_t{block[4 * i + 1]} << 16 |
                  uint32_t{block[4 * i + 2]} << 8 | uint32_t{block[4 * i + 3]};
  }
  for (size_t i = 16; i < 64; ++i) {
    const uint32_t s0 =
        RotateRight(schedule[i - 15], 7) ^ RotateRight(schedule[i - 15], 18) ^ (schedule[i - 15] >> 3);
    const uint32_t s1 =
        RotateRight(schedule[i - 2], 17) ^ RotateRight(schedule[i - 2], 19) ^ (schedule[i - 2] >> 10);
    schedule[i] = schedule[i - 16] + s0 + schedule[i - 7] + s1;
  }

  auto [a, b, c, d, e, f, g, h] = state;
  for (size_t i = 0; i < 64; ++i) {
    const uint32_t sum1 = RotateRight(e, 6) ^ RotateRight(e, 11) ^ RotateRight(e, 25);
    const uint32_t choice = (e & f) ^ (~e & g);
    const uint32_t t1 = h + sum1 + choice + kRoundConstants[i] + schedule[i];
    const uint32_t sum0 = RotateRight(a, 2) ^ RotateRight(a, 13) ^ RotateRight(a, 22);
    const uint32_t majority = (a & b) ^ (a & c) ^ (b & c);
    const uint32_t t2 = sum0 + majority;
    h = g;
    g = f;
    f = e;
    e = d + t1;
    d = c;
    c = b;
    b = a;
    a = t1 + t2;
  }
  const std::array<uint32_t, 8> mixed = {a, b, c, d, e, f, g, h};
  for (size_t i = 0; i < 8; ++i) state[i] += mixed[i];
}

}  // namespace

Sha256Digest Sha256(std::string_view bytes) {
  std::array<uint32_t, 8> state = kInitialState;
  const auto* data = reinterpret_cast<const uint8_t*>(bytes.data());
  const size_t whole = bytes.size() / kBlockBytes * kBlockBytes;
  for (size_t offset = 0; offset < whole; offset += kBlockBytes) CompressBlock(state, data + offset);

  // The remainder, the 0x80 marker and the message length in bits fill one or two blocks.
  std::array<uint8_t, 2 * kBlockBytes> tail{};
  const size_t remainder = bytes.size() - whole;
  std::copy_n(data + whole, remainder, tail.begin());
  tail[remainder] = 0x80;
  const size_t tailBytes = remainder + 1 + 8 <= kBlockBytes ? kBlockBytes : 2 * kBlockBytes;
  const uint64_t bitLength = uint64_t{bytes.size()} * 8;
  for (size_t i = 0; i < 8; ++i) tail[tailBytes - 1 - i] = static_cast<uint8_t>(bitLength >> (8 * i));
  for (size_t offset = 0; offset < tailBytes; offset += kBlockBytes)
    CompressBlock(state, tail.data() + offset);

  Sha256Digest digest{};
  for (size_t i = 0; i < 8; ++i) {
    for (size_t j = 0; j < 4; ++j) digest[4 * i + j] = static_cast<uint8_t>(state[i] >> (24 - 8 * j));
  }
  return digest;
}

std::string DigestHex(const Sha256Digest& digest) {
  constexpr std::string_view kDigits = "0123456789abcdef";
  std::string hex;
  hex.reserve(64);
  for (uint8_t byte : digest) {
    hex += kDigits[byte >> 4];
    hex += kDigits[byte & 0x0F];
  }
  return hex;
}

std::string Sha256Hex(std::string_view bytes) { return DigestHex(Sha256(bytes)); }

bool SameDigest(const Sha256Digest& digest, std::string_view hex) {
  Sha256Digest expected{};
  return DecodeHex(hex, expected) && digest == expected;
}

bool MatchesSha256(std::string_view bytes, std::string_view hex) { return SameDigest(Sha256(bytes), hex); }

}  // namespace pravelo::update
