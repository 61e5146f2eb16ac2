#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <type_traits>

#include "fakes/update_fakes.h"
#include "update/sha256.h"
#include "update/signed_version_file.h"
#include "update/update_check.h"
#include "update/verified_executable.h"

namespace pravelo::update {
namespace {

using testing::FakeHeldFiles;
using testing::FakeSignatures;
using testing::UpdateFakeClock;
using testing::UpdateFakeEnvironment;
using testing::UpdateFakeFiles;
using testing::UpdateFakeHttp;
using testing::UpdateFakeLauncher;

constexpr double kOwnVersion = 1.42;
const std::string kKey(128, 'a');
const std::string kOtherKey(128, 'b');
const std::string kVersionUrl = "http://127.0.0.1:8080/version.txt";
const std::string kSignatureUrl = "http://127.0.0.1:8080/version.txt.sig";
const std::string kExeUrl = "http://127.0.0.1:8080/files/new pravelo.exe";
const std::string kTemp = "C:\\users\\me\\Temp";
const std::string kVersionPath = kTemp + "\\pravelo.versiontxt";
const std::string kHeldPath = "C:\\users\\me\\Temp\\fresh0\\Pravelo_tmp.exe";
const std::string kNewProgram = std::string("MZ\x90\0\x03", 5) + "rest of the program";
const std::string kOldVersionFile = "1.99,http://old/old.exe, and a longer tail than any new file has";
const std::string kDueText = "1.43\r\n" + kExeUrl + "\r\n" + Sha256Hex(kNewProgram) + "\r\n";

struct UpdateCheck : ::testing::Test {
  UpdateFakeHttp http;
  UpdateFakeFiles files;
  UpdateFakeEnvironment environment;
  UpdateFakeLauncher launcher;
  FakeSignatures signatures;
  FakeHeldFiles held;
  UpdateFakeClock clock;
  std::string trustedKey = kKey;

  UpdateCheck() { files.files[kVersionPath] = kOldVersionFile; }
  // Serves `text` with a signature over `signedText` by `key`.
  void ServeSigned(const std::string& text, const std::string& signedText, const std::string& key = kKey) {
    http.responses[kVersionUrl] = HttpResponse{200, text};
    http.responses[kSignatureUrl] = HttpResponse{200, FakeSignatures::Sign(signedText, key) + "\r\n"};
  }
  void ServeSigned(const std::string& text) { ServeSigned(text, text); }
  void ServeExe(std::string body) { http.responses[kExeUrl] = HttpResponse{200, std::move(body)}; }
  UpdateOutcome Run() {
    return RunUpdateCheck({http, files, environment, launcher, signatures, held, clock},
                          {"127.0.0.1:8080", trustedKey, kOwnVersion});
  }
};

TEST_F(UpdateCheck, SignedDueVersionStartsTheMatchingProgramWhileItIsHeld) {
  ServeSigned(kDueText);
  ServeExe(kNewProgram);
  bool heldWhileStarting = false;
  launcher.onStart = [&] { heldWhileStarting = held.files.at(kHeldPath)->open; };

  EXPECT_EQ(Run(), UpdateOutcome::Started);
  EXPECT_EQ(http.requested, (std::vector<std::string>{kVersionUrl, kSignatureUrl, kExeUrl}));
  ASSERT_EQ(http.limits.size(), 3u);
  EXPECT_EQ(http.limits[0].maxBodyBytes, 64u * 1024);
  EXPECT_EQ(http.limits[1].maxBodyBytes, 64u * 1024);
  EXPECT_EQ(http.limits[2].maxBodyBytes, 64u * 1024 * 1024);
  EXPECT_EQ(files.files[kVersionPath], kDueText);
  ASSERT_EQ(launcher.calls.size(), 1u);
  EXPECT_EQ(launcher.calls[0].commandLine,
            "\"" + kHeldPath + "\" /q \"C:\\Program Files\\Pravelo\\pravelo\"");
  EXPECT_EQ(launcher.calls[0].showStyle, 1);
  EXPECT_TRUE(heldWhileStarting);
  // Closed once started, and left in place for the new program.
  EXPECT_FALSE(held.files.at(kHeldPath)->open);
  EXPECT_TRUE(held.files.at(kHeldPath)->kept);
}

TEST_F(UpdateCheck, DigestInEitherCaseAndSignatureWithOrWithoutLineEnd) {
  std::string upper = Sha256Hex(kNewProgram);
  for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  for (std::string_view lineEnd : {"", "\n", "\r\n"}) {
    launcher.calls.clear();
    const std::string text = "1.43," + kExeUrl + "," + upper;
    http.responses[kVersionUrl] = HttpResponse{200, text};
    http.responses[kSignatureUrl] =
        HttpResponse{200, FakeSignatures::Sign(text, kKey) + std::string(lineEnd)};
    ServeExe(kNewProgram);
    EXPECT_EQ(Run(), UpdateOutcome::Started) << lineEnd.size();
    EXPECT_EQ(launcher.calls.size(), 1u);
  }
}

TEST_F(UpdateCheck, SignedNothingNewerIsUpToDateWithoutFetchingTheProgram) {
  for (std::string text : {"1.42\r\n" + kExeUrl, "1.41," + kExeUrl + "," + Sha256Hex(kNewProgram),
                           std::string("<html><body>Welcome</body></html>")}) {
    http.requested.clear();
    ServeSigned(text);
    EXPECT_EQ(Run(), UpdateOutcome::UpToDate) << text;
    EXPECT_EQ(http.requested, (std::vector<std::string>{kVersionUrl, kSignatureUrl})) << text;
    EXPECT_EQ(files.files[kVersionPath], text);
  }
  EXPECT_TRUE(launcher.calls.empty());
}

// Every way the check can be refused: nothing starts, nothing is left held or kept, and the
// version file of an earlier check is replaced only by one that verified.
TEST_F(UpdateCheck, AnythingUnverifiedStartsNothing) {
  const std::string digest = Sha256Hex(kNewProgram);
  const std::string goodSignature = FakeSignatures::Sign(kDueText, kKey);
  auto sig = [](const std::string& text) { return HttpResponse{200, FakeSignatures::Sign(text, kKey)}; };
  const std::string noDigest = "1.43\r\n" + kExeUrl + "\r\n";
  const std::string emptyDigest = "1.43," + kExeUrl + ",";
  const std::string badDigest = "1.43," + kExeUrl + "," + digest.substr(1);
  const std::string noAddress = "1.43,," + digest;
  const struct {
    const char* name;
    std::optional<HttpResponse> versionFile;
    std::optional<HttpResponse> signature;
    std::optional<HttpResponse> exe;
    bool verified;
  } cases[] = {
      {"no server", std::nullopt, std::nullopt, std::nullopt, false},
      {"version file 404", HttpResponse{404, kDueText}, HttpResponse{200, goodSignature}, std::nullopt,
       false},
      {"unsigned", HttpResponse{200, kDueText}, std::nullopt, HttpResponse{200, kNewProgram}, false},
      {"signature 404", HttpResponse{200, kDueText}, HttpResponse{404, goodSignature}, std::nullopt, false},
      {"other key", HttpResponse{200, kDueText}, HttpResponse{200, FakeSignatures::Sign(kDueText, kOtherKey)},
       HttpResponse{200, kNewProgram}, false},
      {"changed after signing", HttpResponse{200, "1.43\r\n" + kExeUrl + "\r\n" + digest + "\r\n\r\n"},
       HttpResponse{200, goodSignature}, HttpResponse{200, kNewProgram}, false},
      {"signature cut short", HttpResponse{200, kDueText}, HttpResponse{200, goodSignature.substr(0, 127)},
       std::nullopt, false},
      {"signature with a tail", HttpResponse{200, kDueText}, HttpResponse{200, goodSignature + "\r\n\r\n"},
       std::nullopt, false},
      {"signature not hex", HttpResponse{200, kDueText}, HttpResponse{200, "g" + goodSignature.substr(1)},
       std::nullopt, false},
      {"oversized version file", HttpResponse{200, kDueText + std::string(64 * 1024, ' ')},
       HttpResponse{200, goodSignature}, std::nullopt, false},
      {"no third item", HttpResponse{200, noDigest}, sig(noDigest), HttpResponse{200, kNewProgram}, true},
      {"empty third item", HttpResponse{200, emptyDigest}, sig(emptyDigest), HttpResponse{200, kNewProgram},
       true},
      {"malformed digest", HttpResponse{200, badDigest}, sig(badDigest), HttpResponse{200, kNewProgram},
       true},
      {"no address", HttpResponse{200, noAddress}, sig(noAddress), HttpResponse{200, kNewProgram}, true},
      {"empty signed file", HttpResponse{200, ""}, sig(""), std::nullopt, true},
      {"program not reached", HttpResponse{200, kDueText}, sig(kDueText), std::nullopt, true},
      {"program 404", HttpResponse{200, kDueText}, sig(kDueText), HttpResponse{404, kNewProgram}, true},
      {"program differs", HttpResponse{200, kDueText}, sig(kDueText), HttpResponse{200, kNewProgram + "!"},
       true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    files.files[kVersionPath] = kOldVersionFile;
    http.responses.clear();
    held.files.clear();
    if (c.versionFile) http.responses[kVersionUrl] = c.versionFile;
    if (c.signature) http.responses[kSignatureUrl] = c.signature;
    if (c.exe) http.responses[kExeUrl] = c.exe;

    EXPECT_EQ(Run(), UpdateOutcome::Failed);
    EXPECT_TRUE(launcher.calls.empty());
    EXPECT_EQ(files.files[kVersionPath], c.verified ? c.versionFile->body : kOldVersionFile);
    for (const auto& [path, state] : held.files) EXPECT_FALSE(state->open || state->kept) << path;
  }
}

TEST_F(UpdateCheck, AProgramThatCannotBeHeldOrStartedOrWasChangedOnDiskFails) {
  ServeSigned(kDueText);
  ServeExe(kNewProgram);

  held.fails = true;
  EXPECT_EQ(Run(), UpdateOutcome::Failed);
  EXPECT_TRUE(launcher.calls.empty());

  held.fails = false;
  held.tamper = [](std::string& bytes) { bytes[2] ^= 1; };
  EXPECT_EQ(Run(), UpdateOutcome::Failed);
  EXPECT_TRUE(launcher.calls.empty());

  held.tamper = nullptr;
  held.files.clear();
  launcher.starts = false;
  EXPECT_EQ(Run(), UpdateOutcome::Failed);
  EXPECT_EQ(launcher.calls.size(), 1u);
  EXPECT_FALSE(held.files.at(kHeldPath)->kept);
}

TEST_F(UpdateCheck, WithoutATrustedKeyNoServerIsAsked) {
  ServeSigned(kDueText);
  ServeExe(kNewProgram);
  for (const std::string& key : {std::string(), kKey.substr(1), std::string(127, 'a') + "x"}) {
    trustedKey = key;
    EXPECT_EQ(Run(), UpdateOutcome::Failed) << key;
  }
  EXPECT_TRUE(http.requested.empty());

  trustedKey = kKey;
  environment.tempFolder.clear();
  EXPECT_EQ(Run(), UpdateOutcome::Failed);
  EXPECT_TRUE(http.requested.empty());
}

// The three downloads share one minute: each is given what is left of it.
TEST_F(UpdateCheck, TheWholeCheckEndsWithinItsDeadline) {
  ServeSigned(kDueText);
  ServeExe(kNewProgram);
  http.onGet = [&] { clock.now += 25000; };
  EXPECT_EQ(Run(), UpdateOutcome::Started);
  ASSERT_EQ(http.limits.size(), 3u);
  EXPECT_EQ(http.limits[0].timeoutMs, 60000);
  EXPECT_EQ(http.limits[1].timeoutMs, 35000);
  EXPECT_EQ(http.limits[2].timeoutMs, 10000);

  http.requested.clear();
  http.onGet = [&] { clock.now += 30000; };
  EXPECT_EQ(Run(), UpdateOutcome::Failed);
  EXPECT_EQ(http.requested, (std::vector<std::string>{kVersionUrl, kSignatureUrl}));
  EXPECT_EQ(launcher.calls.size(), 1u);  // from the first run only
}

TEST(SignatureFile, OnlyHexOfTheRightLengthWithOneOptionalLineEnd) {
  const std::string hex = std::string(64, '0') + std::string(62, 'F') + "1e";
  const std::optional<P256Signature> plain = ReadSignatureFile(hex);
  ASSERT_TRUE(plain);
  EXPECT_EQ((*plain)[0], 0x00);
  EXPECT_EQ((*plain)[32], 0xFF);
  EXPECT_EQ((*plain)[63], 0x1E);
  EXPECT_EQ(ReadSignatureFile(hex + "\n"), plain);
  EXPECT_EQ(ReadSignatureFile(hex + "\r\n"), plain);
  for (const std::string& bad :
       {std::string(), hex.substr(1), hex + "0", hex + "\r", hex + "\n\n", " " + hex.substr(1),
        hex.substr(0, 127) + "\n", hex.substr(0, 127) + "x", "0x" + hex.substr(2)}) {
    EXPECT_FALSE(ReadSignatureFile(bad)) << bad;
  }
  EXPECT_TRUE(ReadPublicKey(kKey));
  EXPECT_FALSE(ReadPublicKey(kKey + "\n"));
  EXPECT_FALSE(ReadPublicKey(""));
}

// Nothing can start the update's program except a verified check: the only ways to make the
// two verified objects are their checks, and the check needs a signed digest that matches.
TEST(VerifiedUpdate, TheLauncherIsReachableOnlyThroughAVerifiedCheck) {
  static_assert(!std::is_default_constructible_v<VerifiedVersionFile>);
  static_assert(!std::is_constructible_v<VerifiedVersionFile, std::string, VersionFile>);
  static_assert(!std::is_default_constructible_v<VerifiedExecutable>);
  static_assert(!std::is_constructible_v<VerifiedExecutable, std::unique_ptr<HeldFile>>);

  FakeSignatures signatures;
  FakeHeldFiles held;
  UpdateFakeLauncher launcher;
  const std::string text = "1.43,http://h/p.exe," + Sha256Hex(kNewProgram);
  EXPECT_FALSE(VerifiedVersionFile::Verify(signatures, kKey, text, FakeSignatures::Sign(text, kOtherKey)));
  const std::optional<VerifiedVersionFile> signedFile =
      VerifiedVersionFile::Verify(signatures, kKey, text, FakeSignatures::Sign(text, kKey));
  ASSERT_TRUE(signedFile);
  EXPECT_EQ(signedFile->Items().sha256, Sha256Hex(kNewProgram));

  EXPECT_FALSE(VerifiedExecutable::Check(held.WriteAndHold("p.exe", kNewProgram + "x"), *signedFile));
  EXPECT_FALSE(VerifiedExecutable::Check(nullptr, *signedFile));
  const std::string undigested = "1.43,http://h/p.exe";
  const auto noDigest =
      VerifiedVersionFile::Verify(signatures, kKey, undigested, FakeSignatures::Sign(undigested, kKey));
  ASSERT_TRUE(noDigest);
  EXPECT_FALSE(VerifiedExecutable::Check(held.WriteAndHold("p.exe", kNewProgram), *noDigest));

  std::optional<VerifiedExecutable> program =
      VerifiedExecutable::Check(held.WriteAndHold("p.exe", kNewProgram), *signedFile);
  ASSERT_TRUE(program);
  EXPECT_TRUE(program->Start(launcher, "C:\\P\\pravelo"));
  ASSERT_EQ(launcher.calls.size(), 1u);
}

TEST(UpdateHost, EnvironmentOverridesTheBuiltInHost) {
  UpdateFakeEnvironment environment;
  const std::string builtIn = UpdateHost(environment);
  EXPECT_FALSE(builtIn.empty());
  EXPECT_EQ(builtIn.find('/'), std::string::npos);

  environment.variables["PRAVELO_UPDATE_HOST"] = "127.0.0.1:41234";
  EXPECT_EQ(UpdateHost(environment), "127.0.0.1:41234");
  environment.variables["PRAVELO_UPDATE_HOST"] = "";
  EXPECT_EQ(UpdateHost(environment), builtIn);
}

}  // namespace
}  // namespace pravelo::update
