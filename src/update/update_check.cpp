#include "update/update_check.h"

#include <optional>
#include <utility>

#include "update/signed_version_file.h"
#include "update/verified_executable.h"

// Set by the build (CMake cache variables of the same names).
#ifndef PRAVELO_UPDATE_HOST
#error "PRAVELO_UPDATE_HOST must name the update server"
#endif
#ifndef PRAVELO_UPDATE_PUBLIC_KEY
#error "PRAVELO_UPDATE_PUBLIC_KEY must be the release key or empty"
#endif

namespace pravelo::update {
namespace {

constexpr int kHttpOk = 200;

class Downloads {
 public:
  Downloads(HttpApi& http, Clock& clock)
      : http_(http), clock_(clock), deadline_(clock.NowMs() + kUpdateDeadlineMs) {}

  // The body of a 200 answer that arrived in the time left; error pages, broken transfers
  // and bodies over `maxBytes` give nothing.
  std::optional<std::string> Get(std::string_view url, size_t maxBytes) {
    const uint64_t now = clock_.NowMs();
    if (now >= deadline_) return std::nullopt;
    std::optional<HttpResponse> response = http_.Get(url, {static_cast<int>(deadline_ - now), maxBytes});
    if (!response || response->status != kHttpOk || response->body.size() > maxBytes) return std::nullopt;
    return std::move(response->body);
  }

 private:
  HttpApi& http_;
  Clock& clock_;
  uint64_t deadline_;
};

// The version the signed items offer, when they may be believed now: not expired, and not
// older than the highest version seen signed before, which they raise.
std::optional<Version> FreshVersion(const VersionFile& items, RegistryApi& registry, Clock& clock) {
  const std::optional<int64_t> expires = items.expires ? ParseUtcTime(*items.expires) : std::nullopt;
  if (!expires || *expires <= clock.UtcSeconds()) return std::nullopt;
  const std::optional<Version> offered = items.version ? ParseVersion(*items.version) : std::nullopt;
  if (!offered) return std::nullopt;
  const std::optional<std::string> stored =
      registry.Read(RegistryRoot::CurrentUser, kUpdateStateKey, kHighestVersionValue);
  const std::optional<Version> highest = stored ? ParseVersion(*stored) : std::nullopt;
  if (highest && *offered < *highest) return std::nullopt;
  // A value that cannot be stored only weakens the next check; this one goes on.
  if (!highest || *highest < *offered) {
    registry.WriteString(RegistryRoot::CurrentUser, kUpdateStateKey, kHighestVersionValue,
                         VersionText(*offered));
  }
  return offered;
}

}  // namespace

UpdateOutcome RunUpdateCheck(UpdatePorts ports, const UpdateSource& source) {
  // A build without a release key has nothing to believe, and a program that does not know
  // its own version cannot tell newer from older: neither asks a server.
  if (!ReadPublicKey(source.publicKeyHex) || !source.ownVersion) return UpdateOutcome::Failed;
  // The minute starts here and covers everything below.
  Downloads downloads(ports.http, ports.clock);
  ports.heldFiles.RemoveFoldersOlderThan(kStaleFolderSeconds);
  const std::optional<std::string> text =
      downloads.Get("http://" + source.host + std::string(kVersionFilePath), kMaxTextBytes);
  if (!text) return UpdateOutcome::Failed;
  const std::optional<std::string> signature =
      downloads.Get("http://" + source.host + std::string(kSignatureFilePath), kMaxTextBytes);
  if (!signature) return UpdateOutcome::Failed;
  const std::optional<VerifiedVersionFile> versionFile =
      VerifiedVersionFile::Verify(ports.signatures, source.publicKeyHex, *text, *signature);
  if (!versionFile) return UpdateOutcome::Failed;

  const VersionFile& items = versionFile->Items();
  const std::optional<Version> offered = FreshVersion(items, ports.registry, ports.clock);
  if (!offered) return UpdateOutcome::Failed;
  if (!(*source.ownVersion < *offered)) return UpdateOutcome::UpToDate;
  if (!items.executableUrl || items.executableUrl->empty() || !items.sha256) return UpdateOutcome::Failed;

  const std::optional<std::string> executable = downloads.Get(*items.executableUrl, kMaxExecutableBytes);
  if (!executable) return UpdateOutcome::Failed;
  std::optional<VerifiedExecutable> verified = VerifiedExecutable::Check(
      ports.heldFiles.WriteAndHold(kNewExecutableName, *executable, kMaxExecutableBytes), *versionFile);
  if (!verified) return UpdateOutcome::Failed;

  const std::string installedProgram = ports.environment.ProgramPathWithoutExtension();
  return verified->Start(ports.launcher, installedProgram) ? UpdateOutcome::Started : UpdateOutcome::Failed;
}

std::string UpdateHost(EnvironmentApi& environment) {
  if (std::optional<std::string> host = environment.Variable(kUpdateHostVariable); host && !host->empty()) {
    return *host;
  }
  return PRAVELO_UPDATE_HOST;
}

std::string_view TrustedPublicKey() { return PRAVELO_UPDATE_PUBLIC_KEY; }

}  // namespace pravelo::update
