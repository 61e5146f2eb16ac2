// libFuzzer target: the signed version file from the bytes of the server's two files to the
// decision to start a program. The input is the version file, a NUL, the signature file, a NUL
// and the downloaded program.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>

#include "update/sha256.h"
#include "update/signed_version_file.h"
#include "update/verified_executable.h"

namespace {

using namespace pravelo;
using namespace pravelo::update;

// A broken property names itself before libFuzzer keeps the input.
#define REQUIRE(condition) \
  ((condition) ? void() : (std::fprintf(stderr, "%s:%d: %s\n", __FILE__, __LINE__, #condition), std::abort()))

constexpr std::string_view kKey =
    "d63ed6c555c29a195f1ee322ec3ff88295966bf44d8860f1ba1548f28a48ca743f35355368f88bf0fcd2cf324ce1410931a26825"
    "920bd20c783171c1e62b6930";

// Accepts a signature whose first byte is even, so that the fuzzer reaches both verdicts; it
// remembers what it was asked, to check that the digest asked about is the file's own.
class CoinSignatures final : public SignatureApi {
 public:
  bool VerifyP256(const P256PublicKey&, const Sha256Value& digest, const P256Signature& signature) override {
    asked = digest;
    ++calls;
    return signature[0] % 2 == 0;
  }
  Sha256Value asked{};
  int calls = 0;
};

class Held final : public HeldFile {
 public:
  explicit Held(std::string bytes) : bytes_(std::move(bytes)) {}
  const std::string& Path() const override { return path_; }
  const std::string& Bytes() const override { return bytes_; }
  void Keep() override {}

 private:
  std::string path_ = "C:\\t\\Pravelo_tmp.exe";
  std::string bytes_;
};

class CountingLauncher final : public ProcessLauncher {
 public:
  bool Start(std::string_view, int) override {
    ++calls;
    return true;
  }
  int calls = 0;
};

std::string_view Take(std::string_view& rest) {
  const size_t end = rest.find('\0');
  const std::string_view part = rest.substr(0, end);
  rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
  return part;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view rest(reinterpret_cast<const char*>(data), size);
  const std::string_view text = Take(rest);
  const std::string_view signatureText = Take(rest);
  const std::string_view program = rest;

  const std::optional<P256Signature> signature = ReadSignatureFile(signatureText);
  if (signature) {
    REQUIRE(signatureText.size() >= 128 && signatureText.size() <= 130);
  }

  CoinSignatures signatures;
  const std::optional<VerifiedVersionFile> verified =
      VerifiedVersionFile::Verify(signatures, kKey, text, signatureText);
  // Nothing is believed without a well-formed signature that the system accepted over these bytes.
  REQUIRE(!verified || (signature && signatures.calls == 1 && (*signature)[0] % 2 == 0));
  if (signatures.calls) REQUIRE(signatures.asked == Sha256(text));
  if (!verified) return 0;
  REQUIRE(verified->Items().version == ReadVersionFile(text).version);

  const VersionFile& items = verified->Items();
  if (items.version) (void)ParseVersion(*items.version);
  if (items.expires) (void)ParseUtcTime(*items.expires);
  std::optional<VerifiedExecutable> executable =
      VerifiedExecutable::Check(std::make_unique<Held>(std::string(program)), *verified);
  // A program passes only with a digest in the signed file, and only its own.
  REQUIRE(executable.has_value() == (items.sha256 && MatchesSha256(program, *items.sha256)));
  if (executable) {
    REQUIRE(Sha256Hex(program).size() == 64);
    CountingLauncher launcher;
    REQUIRE(executable->Start(launcher, "C:\\P\\pravelo") && launcher.calls == 1);
  }
  return 0;
}
