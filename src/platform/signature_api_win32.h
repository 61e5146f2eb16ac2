// SignatureApi over Windows' CNG (bcrypt.dll, loaded from the system folder when first used).
#pragma once

#include "platform/signature_api.h"

namespace pravelo {

class SignatureApiWin32 final : public SignatureApi {
 public:
  bool VerifyP256(const P256PublicKey& key, const Sha256Value& digest,
                  const P256Signature& signature) override;
};

}  // namespace pravelo
