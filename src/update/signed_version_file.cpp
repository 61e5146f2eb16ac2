#include "update/signed_version_file.h"

#include "base/hex.h"
#include "update/sha256.h"

namespace pravelo::update {
namespace {

constexpr size_t kSignatureDigits = 2 * std::tuple_size_v<P256Signature>;

}  // namespace

std::optional<P256PublicKey> ReadPublicKey(std::string_view hex) {
  P256PublicKey key{};
  if (!DecodeHex(hex, key)) return std::nullopt;
  return key;
}

std::optional<P256Signature> ReadSignatureFile(std::string_view text) {
  std::string_view lineEnd = text.substr(std::min(text.size(), kSignatureDigits));
  if (lineEnd != "" && lineEnd != "\n" && lineEnd != "\r\n") return std::nullopt;
  P256Signature signature{};
  if (!DecodeHex(text.substr(0, kSignatureDigits), signature)) return std::nullopt;
  return signature;
}

std::optional<VerifiedVersionFile> VerifiedVersionFile::Verify(SignatureApi& signatures,
                                                               std::string_view trustedKeyHex,
                                                               std::string_view text,
                                                               std::string_view signatureText) {
  const std::optional<P256PublicKey> key = ReadPublicKey(trustedKeyHex);
  const std::optional<P256Signature> signature = ReadSignatureFile(signatureText);
  if (!key || !signature || !signatures.VerifyP256(*key, Sha256(text), *signature)) return std::nullopt;
  return VerifiedVersionFile(ReadVersionFile(text));
}

}  // namespace pravelo::update
