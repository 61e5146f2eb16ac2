#include "platform/signature_api_win32.h"

#include <windows.h>
// After windows.h, whose types it uses.
#include <bcrypt.h>

#include <algorithm>
#include <array>
#include <memory>

#include "platform/system_library_win32.h"

namespace pravelo {
namespace {

struct Bcrypt {
  decltype(&::BCryptOpenAlgorithmProvider) openAlgorithm;
  decltype(&::BCryptCloseAlgorithmProvider) closeAlgorithm;
  decltype(&::BCryptImportKeyPair) importKey;
  decltype(&::BCryptDestroyKey) destroyKey;
  decltype(&::BCryptVerifySignature) verify;

  bool Complete() const { return openAlgorithm && closeAlgorithm && importKey && destroyKey && verify; }
};

const Bcrypt& BcryptFunctions() {
  static const Bcrypt functions = [] {
    const SystemLibrary library(L"bcrypt.dll");
    return Bcrypt{library.Find<decltype(&::BCryptOpenAlgorithmProvider)>("BCryptOpenAlgorithmProvider"),
                  library.Find<decltype(&::BCryptCloseAlgorithmProvider)>("BCryptCloseAlgorithmProvider"),
                  library.Find<decltype(&::BCryptImportKeyPair)>("BCryptImportKeyPair"),
                  library.Find<decltype(&::BCryptDestroyKey)>("BCryptDestroyKey"),
                  library.Find<decltype(&::BCryptVerifySignature)>("BCryptVerifySignature")};
  }();
  return functions;
}

struct AlgorithmCloser {
  void operator()(void* algorithm) const { BcryptFunctions().closeAlgorithm(algorithm, 0); }
};
struct KeyDestroyer {
  void operator()(void* key) const { BcryptFunctions().destroyKey(key); }
};

constexpr size_t kCoordinateBytes = 32;

// The public-key blob CNG imports: its header, then X and Y.
std::array<UCHAR, sizeof(BCRYPT_ECCKEY_BLOB) + 2 * kCoordinateBytes> KeyBlob(const P256PublicKey& key) {
  std::array<UCHAR, sizeof(BCRYPT_ECCKEY_BLOB) + 2 * kCoordinateBytes> blob{};
  const BCRYPT_ECCKEY_BLOB header{BCRYPT_ECDSA_PUBLIC_P256_MAGIC, kCoordinateBytes};
  std::copy_n(reinterpret_cast<const UCHAR*>(&header), sizeof(header), blob.begin());
  std::copy(key.begin(), key.end(), blob.begin() + sizeof(header));
  return blob;
}

}  // namespace

bool SignatureApiWin32::VerifyP256(const P256PublicKey& key, const Sha256Value& digest,
                                   const P256Signature& signature) {
  const Bcrypt& bcrypt = BcryptFunctions();
  if (!bcrypt.Complete()) return false;

  BCRYPT_ALG_HANDLE opened = nullptr;
  if (!BCRYPT_SUCCESS(bcrypt.openAlgorithm(&opened, BCRYPT_ECDSA_P256_ALGORITHM, nullptr, 0))) return false;
  const std::unique_ptr<void, AlgorithmCloser> algorithm(opened);

  auto blob = KeyBlob(key);
  BCRYPT_KEY_HANDLE imported = nullptr;
  if (!BCRYPT_SUCCESS(bcrypt.importKey(algorithm.get(), nullptr, BCRYPT_ECCPUBLIC_BLOB, &imported,
                                       blob.data(), static_cast<ULONG>(blob.size()), 0))) {
    return false;
  }
  const std::unique_ptr<void, KeyDestroyer> publicKey(imported);

  // CNG takes the buffers as writable but only reads them.
  Sha256Value hash = digest;
  P256Signature rs = signature;
  return bcrypt.verify(publicKey.get(), nullptr, hash.data(), static_cast<ULONG>(hash.size()), rs.data(),
                       static_cast<ULONG>(rs.size()), 0) == 0;
}

}  // namespace pravelo
