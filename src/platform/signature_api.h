// Checking an ECDSA signature with the system's own cryptography.
#pragma once

#include <array>
#include <cstdint>

namespace pravelo {

using P256PublicKey = std::array<uint8_t, 64>;  // X then Y, 32 bytes each, big-endian
using P256Signature = std::array<uint8_t, 64>;  // r then s, 32 bytes each, big-endian
using Sha256Value = std::array<uint8_t, 32>;

class SignatureApi {
 public:
  virtual ~SignatureApi() = default;
  // Whether `signature` is the key's ECDSA P-256 signature of `digest`; false also when the
  // key is no point of the curve or the system cannot check.
  virtual bool VerifyP256(const P256PublicKey& key, const Sha256Value& digest,
                          const P256Signature& signature) = 0;
};

}  // namespace pravelo
