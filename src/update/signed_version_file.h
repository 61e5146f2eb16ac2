// The version file is believed only with a signature by the trusted release key.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/signature_api.h"
#include "update/version_file.h"

namespace pravelo::update {

// X then Y as 128 hexadecimal digits; nothing for any other text.
std::optional<P256PublicKey> ReadPublicKey(std::string_view hex);

// The signature file: r then s as 128 hexadecimal digits, then at most one line end.
std::optional<P256Signature> ReadSignatureFile(std::string_view text);

// A version file whose exact bytes carry a good signature by the trusted key. Verify() is the
// only way to make one, so whatever takes one cannot be reached with unsigned items.
class VerifiedVersionFile {
 public:
  static std::optional<VerifiedVersionFile> Verify(SignatureApi& signatures, std::string_view trustedKeyHex,
                                                   std::string_view text, std::string_view signatureText);

  const VersionFile& Items() const { return items_; }

 private:
  explicit VerifiedVersionFile(VersionFile items) : items_(std::move(items)) {}

  VersionFile items_;
};

}  // namespace pravelo::update
