#include "update/update_check.h"

#include <optional>
#include <utility>

#include "update/signed_version_file.h"
#include "update/verified_executable.h"
#include "update/version_file.h"

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

}  // namespace

UpdateOutcome RunUpdateCheck(UpdatePorts ports, const UpdateSource& source) {
  // A build without a release key has nothing to believe, so it asks no server.
  if (!ReadPublicKey(source.publicKeyHex)) return UpdateOutcome::Failed;
  const std::string temp = ports.environment.TempFolder();
  if (temp.empty()) return UpdateOutcome::Failed;

  Downloads downloads(ports.http, ports.clock);
  const std::string versionUrl = "http://" + source.host + std::string(kVersionFilePath);
  const std::optional<std::string> text = downloads.Get(versionUrl, kMaxTextBytes);
  if (!text) return UpdateOutcome::Failed;
  const std::optional<std::string> signature =
      downloads.Get("http://" + source.host + std::string(kSignatureFilePath), kMaxTextBytes);
  if (!signature) return UpdateOutcome::Failed;
  const std::optional<VerifiedVersionFile> versionFile =
      VerifiedVersionFile::Verify(ports.signatures, source.publicKeyHex, *text, *signature);
  if (!versionFile) return UpdateOutcome::Failed;

  // A version file left by an earlier check never stands in for a failed download.
  if (!ports.files.ReplaceWithBytes(temp + "\\" + std::string(kVersionFileName), versionFile->Text())) {
    return UpdateOutcome::Failed;
  }
  const VersionFile& items = versionFile->Items();
  if (!items.version) return UpdateOutcome::Failed;
  if (!IsUpdateDue(source.ownVersion, *items.version)) return UpdateOutcome::UpToDate;
  if (!items.executableUrl || items.executableUrl->empty() || !items.sha256) return UpdateOutcome::Failed;

  const std::optional<std::string> executable = downloads.Get(*items.executableUrl, kMaxExecutableBytes);
  if (!executable) return UpdateOutcome::Failed;
  std::optional<VerifiedExecutable> verified =
      VerifiedExecutable::Check(ports.heldFiles.WriteAndHold(kNewExecutableName, *executable), *versionFile);
  if (!verified) return UpdateOutcome::Failed;

  const std::string installedProgram =
      ports.environment.ProgramFolder() + "\\" + ports.environment.ProgramBaseName();
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
