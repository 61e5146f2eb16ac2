#include <gtest/gtest.h>

#include <cctype>
#include <set>
#include <string>
#include <type_traits>

#include "fakes/fake_registry.h"
#include "fakes/update_fakes.h"
#include "update/sha256.h"
#include "update/signed_version_file.h"
#include "update/update_check.h"
#include "update/verified_executable.h"

namespace pravelo::update {
namespace {

using fakes::FakeRegistry;
using testing::FakeHeldFiles;
using testing::FakeSignatures;
using testing::UpdateFakeClock;
using testing::UpdateFakeEnvironment;
using testing::UpdateFakeHttp;
using testing::UpdateFakeLauncher;

constexpr Version kOwnVersion{1, 4, 2};
const std::string kKey(128, 'a');
const std::string kOtherKey(128, 'b');
const std::string kVersionUrl = "http://127.0.0.1:8080/version.txt";
const std::string kSignatureUrl = "http://127.0.0.1:8080/version.txt.sig";
const std::string kExeUrl = "http://127.0.0.1:8080/files/new pravelo.exe";
const std::string kHeldPath = "C:\\users\\me\\Temp\\fresh0\\Pravelo_tmp.exe";
const std::string kNewProgram = std::string("MZ\x90\0\x03", 5) + "rest of the program";
const std::string kDigest = Sha256Hex(kNewProgram);
// The fake clock's calendar stands at 2027-01-01 00:00 UTC.
const std::string kValid = "2027-01-31T00:00:00Z";
const std::string kDueText = "1.4.3\r\n" + kExeUrl + "\r\n" + kDigest + "\r\n" + kValid + "\r\n";

// A version file with these items, comma-separated.
std::string Items(const std::string& version, const std::string& expires = kValid,
                  const std::string& digest = kDigest) {
  return version + "," + kExeUrl + "," + digest + "," + expires;
}

struct UpdateCheck : ::testing::Test {
  UpdateFakeHttp http;
  FakeRegistry registry;
  UpdateFakeEnvironment environment;
  UpdateFakeLauncher launcher;
  FakeSignatures signatures;
  FakeHeldFiles held;
  UpdateFakeClock clock;
  std::string trustedKey = kKey;
  std::optional<Version> ownVersion = kOwnVersion;

  // Serves `text` with a signature over `signedText` by `key`.
  void ServeSigned(const std::string& text, const std::string& signedText, const std::string& key = kKey) {
    http.responses[kVersionUrl] = HttpResponse{200, text};
    http.responses[kSignatureUrl] = HttpResponse{200, FakeSignatures::Sign(signedText, key) + "\r\n"};
  }
  void ServeSigned(const std::string& text) { ServeSigned(text, text); }
  void ServeExe(std::string body) { http.responses[kExeUrl] = HttpResponse{200, std::move(body)}; }
  std::optional<std::string> HighestSeen() {
    return registry.Read(RegistryRoot::CurrentUser, kUpdateStateKey, kHighestVersionValue);
  }
  UpdateOutcome Run() {
    return RunUpdateCheck({http, registry, environment, launcher, signatures, held, clock},
                          {"127.0.0.1:8080", trustedKey, ownVersion});
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
  // The held file is read back under the download's own limit.
  EXPECT_EQ(held.limits, (std::vector<size_t>{64u * 1024 * 1024}));
  EXPECT_EQ(held.removedOlderThan, (std::vector<int64_t>{24 * 60 * 60}));
  EXPECT_EQ(HighestSeen(), "1.4.3");
  ASSERT_EQ(launcher.calls.size(), 1u);
  EXPECT_EQ(launcher.calls[0].commandLine,
            "\"" + kHeldPath + "\" /q \"C:\\Program Files\\Pravelo\\pravelo\" " + kDigest);
  EXPECT_EQ(launcher.calls[0].showStyle, 1);
  EXPECT_TRUE(heldWhileStarting);
  // Closed once started, and left in place for the new program.
  EXPECT_FALSE(held.files.at(kHeldPath)->open);
  EXPECT_TRUE(held.files.at(kHeldPath)->kept);
}

TEST_F(UpdateCheck, DigestInEitherCaseAndSignatureWithOrWithoutLineEnd) {
  std::string upper = kDigest;
  for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  for (std::string_view lineEnd : {"", "\n", "\r\n"}) {
    launcher.calls.clear();
    const std::string text = Items("1.4.3", kValid, upper);
    http.responses[kVersionUrl] = HttpResponse{200, text};
    http.responses[kSignatureUrl] =
        HttpResponse{200, FakeSignatures::Sign(text, kKey) + std::string(lineEnd)};
    ServeExe(kNewProgram);
    EXPECT_EQ(Run(), UpdateOutcome::Started) << lineEnd.size();
    ASSERT_EQ(launcher.calls.size(), 1u);
    // The new program is handed the digest of what was checked, in one spelling.
    EXPECT_TRUE(launcher.calls[0].commandLine.ends_with(" " + kDigest));
  }
}

// Components compare as numbers: 1.4.12 is newer than 1.4.2 and older than 1.5.0.
TEST_F(UpdateCheck, VersionsCompareComponentByComponent) {
  const struct {
    Version own;
    const char* offered;
    UpdateOutcome outcome;
  } cases[] = {
      {{1, 4, 2}, "1.4.2", UpdateOutcome::UpToDate},  {{1, 4, 2}, "1.4.1", UpdateOutcome::UpToDate},
      {{1, 4, 2}, "1.4", UpdateOutcome::UpToDate},    {{1, 4, 2}, "1.4.12", UpdateOutcome::Started},
      {{1, 5, 0}, "1.4.12", UpdateOutcome::UpToDate}, {{1, 4, 12}, "1.5", UpdateOutcome::Started},
      {{1, 9, 0}, "1.10.0", UpdateOutcome::Started},  {{2, 0, 0}, "1.10.0", UpdateOutcome::UpToDate},
  };
  for (const auto& c : cases) {
    registry = FakeRegistry();
    ownVersion = c.own;
    ServeSigned(Items(c.offered));
    ServeExe(kNewProgram);
    EXPECT_EQ(Run(), c.outcome) << VersionText(c.own) << " against " << c.offered;
  }
}

// Every way the check can be refused: nothing starts and nothing is left held or kept. A
// refused file does not raise the highest version seen either.
TEST_F(UpdateCheck, AnythingUnverifiedStartsNothing) {
  const std::string goodSignature = FakeSignatures::Sign(kDueText, kKey);
  auto sig = [](const std::string& text) { return HttpResponse{200, FakeSignatures::Sign(text, kKey)}; };
  auto signedFile = [](const std::string& text) { return HttpResponse{200, text}; };
  const std::string noDigest = "1.4.3," + kExeUrl + ",," + kValid;
  const std::string badDigest = Items("1.4.3", kValid, kDigest.substr(1));
  const std::string noAddress = "1.4.3,," + kDigest + "," + kValid;
  const std::string noExpiry = Items("1.4.3", "");
  const std::string expired = Items("1.4.3", "2026-12-31T23:59:59Z");
  const std::string expiringNow = Items("1.4.3", "2027-01-01T00:00:00Z");
  const std::string localTime = Items("1.4.3", "2027-01-31T00:00:00");
  const std::string page = "<html><body>Welcome</body></html>," + kExeUrl + "," + kDigest + "," + kValid;
  const std::string oldScale = Items("1.43");
  const struct {
    const char* name;
    std::optional<HttpResponse> versionFile;
    std::optional<HttpResponse> signature;
    std::optional<HttpResponse> exe;
  } cases[] = {
      {"no server", std::nullopt, std::nullopt, std::nullopt},
      {"version file 404", HttpResponse{404, kDueText}, HttpResponse{200, goodSignature}, std::nullopt},
      {"unsigned", HttpResponse{200, kDueText}, std::nullopt, HttpResponse{200, kNewProgram}},
      {"signature 404", HttpResponse{200, kDueText}, HttpResponse{404, goodSignature}, std::nullopt},
      {"other key", HttpResponse{200, kDueText}, HttpResponse{200, FakeSignatures::Sign(kDueText, kOtherKey)},
       HttpResponse{200, kNewProgram}},
      {"changed after signing", HttpResponse{200, kDueText + "\r\n"}, HttpResponse{200, goodSignature},
       HttpResponse{200, kNewProgram}},
      {"signature cut short", HttpResponse{200, kDueText}, HttpResponse{200, goodSignature.substr(0, 127)},
       std::nullopt},
      {"signature with a tail", HttpResponse{200, kDueText}, HttpResponse{200, goodSignature + "\r\n\r\n"},
       std::nullopt},
      {"signature not hex", HttpResponse{200, kDueText}, HttpResponse{200, "g" + goodSignature.substr(1)},
       std::nullopt},
      {"oversized version file", HttpResponse{200, kDueText + std::string(64 * 1024, ' ')},
       HttpResponse{200, goodSignature}, std::nullopt},
      {"no expiry", signedFile(noExpiry), sig(noExpiry), HttpResponse{200, kNewProgram}},
      {"expired", signedFile(expired), sig(expired), HttpResponse{200, kNewProgram}},
      {"expiring this second", signedFile(expiringNow), sig(expiringNow), HttpResponse{200, kNewProgram}},
      {"expiry without its zone", signedFile(localTime), sig(localTime), HttpResponse{200, kNewProgram}},
      {"version not a version", signedFile(page), sig(page), HttpResponse{200, kNewProgram}},
      {"no digest", signedFile(noDigest), sig(noDigest), HttpResponse{200, kNewProgram}},
      {"malformed digest", signedFile(badDigest), sig(badDigest), HttpResponse{200, kNewProgram}},
      {"no address", signedFile(noAddress), sig(noAddress), HttpResponse{200, kNewProgram}},
      {"empty signed file", HttpResponse{200, ""}, sig(""), std::nullopt},
      {"program not reached", signedFile(kDueText), sig(kDueText), std::nullopt},
      {"program 404", signedFile(kDueText), sig(kDueText), HttpResponse{404, kNewProgram}},
      {"program differs", signedFile(kDueText), sig(kDueText), HttpResponse{200, kNewProgram + "!"}},
      {"program of another version file", signedFile(oldScale), sig(oldScale), HttpResponse{200, "MZ other"}},
  };
  // Signed, unexpired files of a version: only what they name was refused.
  const std::set<std::string_view> kBelieved = {"no digest",
                                                "malformed digest",
                                                "no address",
                                                "program not reached",
                                                "program 404",
                                                "program differs",
                                                "program of another version file"};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    http.responses.clear();
    held.files.clear();
    registry = FakeRegistry();
    if (c.versionFile) http.responses[kVersionUrl] = c.versionFile;
    if (c.signature) http.responses[kSignatureUrl] = c.signature;
    if (c.exe) http.responses[kExeUrl] = c.exe;

    EXPECT_EQ(Run(), UpdateOutcome::Failed);
    EXPECT_TRUE(launcher.calls.empty());
    EXPECT_EQ(HighestSeen().has_value(), kBelieved.contains(c.name));
    for (const auto& [path, state] : held.files) EXPECT_FALSE(state->open || state->kept) << path;
  }
}

// A network that serves an older signed file, or replays one after a newer one was seen,
// gets the failure; the newest file, served again before it expires, still works.
TEST_F(UpdateCheck, OlderSignedFilesAreRefusedOnceANewerOneWasSeen) {
  const std::string older = Items("1.4.3");
  const std::string newer = Items("1.4.12", kValid, Sha256Hex("MZ newest"));
  const struct {
    const char* name;
    const std::string& served;
    UpdateOutcome outcome;
    const char* highest;
  } steps[] = {
      {"first sight", older, UpdateOutcome::Started, "1.4.3"},
      {"a newer one", newer, UpdateOutcome::Started, "1.4.12"},
      {"the older one replayed", older, UpdateOutcome::Failed, "1.4.12"},
      {"the newer one again", newer, UpdateOutcome::Started, "1.4.12"},
  };
  ServeExe(kNewProgram);
  for (const auto& step : steps) {
    SCOPED_TRACE(step.name);
    ServeSigned(step.served);
    if (&step.served == &newer) ServeExe("MZ newest");
    EXPECT_EQ(Run(), step.outcome);
    EXPECT_EQ(HighestSeen(), step.highest);
  }

  // Once the running version is the newest, an older release counts as up to date until
  // one newer than the running version has been seen; after that it is refused.
  registry = FakeRegistry();
  ownVersion = Version{1, 4, 12};
  ServeSigned(older);
  EXPECT_EQ(Run(), UpdateOutcome::UpToDate);
  registry.SetString(RegistryRoot::CurrentUser, kUpdateStateKey, kHighestVersionValue, "1.4.12");
  EXPECT_EQ(Run(), UpdateOutcome::Failed);
  // What another program wrote there is no version and is replaced.
  registry.SetString(RegistryRoot::CurrentUser, kUpdateStateKey, kHighestVersionValue, "junk");
  EXPECT_EQ(Run(), UpdateOutcome::UpToDate);
  EXPECT_EQ(HighestSeen(), "1.4.3");
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

// Without a key nothing can be believed; without its own version the program cannot tell
// newer from older.
TEST_F(UpdateCheck, WithoutATrustedKeyOrItsOwnVersionNoServerIsAsked) {
  ServeSigned(kDueText);
  ServeExe(kNewProgram);
  for (const std::string& key : {std::string(), kKey.substr(1), std::string(127, 'a') + "x"}) {
    trustedKey = key;
    EXPECT_EQ(Run(), UpdateOutcome::Failed) << key;
  }
  trustedKey = kKey;
  ownVersion.reset();
  EXPECT_EQ(Run(), UpdateOutcome::Failed);
  EXPECT_TRUE(http.requested.empty());
  EXPECT_TRUE(launcher.calls.empty());
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
  static_assert(!std::is_constructible_v<VerifiedVersionFile, VersionFile>);
  static_assert(!std::is_default_constructible_v<VerifiedExecutable>);
  static_assert(!std::is_constructible_v<VerifiedExecutable, std::unique_ptr<HeldFile>>);

  FakeSignatures signatures;
  FakeHeldFiles held;
  UpdateFakeLauncher launcher;
  const std::string text = "1.4.3,http://h/p.exe," + kDigest + "," + kValid;
  EXPECT_FALSE(VerifiedVersionFile::Verify(signatures, kKey, text, FakeSignatures::Sign(text, kOtherKey)));
  const std::optional<VerifiedVersionFile> signedFile =
      VerifiedVersionFile::Verify(signatures, kKey, text, FakeSignatures::Sign(text, kKey));
  ASSERT_TRUE(signedFile);
  EXPECT_EQ(signedFile->Items().sha256, kDigest);

  EXPECT_FALSE(VerifiedExecutable::Check(held.WriteAndHold("p.exe", kNewProgram + "x", 1000), *signedFile));
  EXPECT_FALSE(VerifiedExecutable::Check(nullptr, *signedFile));
  const std::string undigested = "1.4.3,http://h/p.exe,," + kValid;
  const auto noDigest =
      VerifiedVersionFile::Verify(signatures, kKey, undigested, FakeSignatures::Sign(undigested, kKey));
  ASSERT_TRUE(noDigest);
  EXPECT_FALSE(VerifiedExecutable::Check(held.WriteAndHold("p.exe", kNewProgram, 1000), *noDigest));

  std::optional<VerifiedExecutable> program =
      VerifiedExecutable::Check(held.WriteAndHold("p.exe", kNewProgram, 1000), *signedFile);
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
