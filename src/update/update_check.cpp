#include "update/update_check.h"

#include <optional>
#include <utility>

#include "update/sha256.h"
#include "update/version_file.h"

// Set by the build (CMake cache variable of the same name).
#ifndef PRAVELO_UPDATE_HOST
#error "PRAVELO_UPDATE_HOST must name the update server"
#endif

namespace pravelo::update {
namespace {

constexpr int kHttpOk = 200;
constexpr std::string_view kExecutableSignature = "MZ";

// The body of a 200 answer; error pages and broken transfers give nothing.
std::optional<std::string> Download(HttpApi& http, std::string_view url) {
  std::optional<HttpResponse> response = http.Get(url, kUpdateWaitMs);
  if (!response || response->status != kHttpOk) return std::nullopt;
  return std::move(response->body);
}

bool LooksLikeExecutable(std::string_view body) { return body.starts_with(kExecutableSignature); }

std::string Quoted(std::string_view text) { return "\"" + std::string(text) + "\""; }

}  // namespace

UpdateOutcome RunUpdateCheck(UpdatePorts ports, double ownVersion, std::string_view host) {
  const std::optional<std::string> temp = ports.environment.Variable(kTempVariable);
  if (!temp || temp->empty()) return UpdateOutcome::Failed;
  const std::string versionPath = *temp + "\\" + std::string(kVersionFileName);
  const std::string executablePath = *temp + "\\" + std::string(kNewExecutableName);

  // A version file left by an earlier check does not stand in for a failed download: it may
  // name a version that is already installed or an executable that is gone.
  const std::optional<std::string> versionText =
      Download(ports.http, "http://" + std::string(host) + std::string(kVersionFilePath));
  if (!versionText || !ports.files.ReplaceWithBytes(versionPath, *versionText)) return UpdateOutcome::Failed;

  const VersionFile versionFile = ReadVersionFile(*versionText);
  if (!versionFile.version) return UpdateOutcome::Failed;
  if (!IsUpdateDue(ownVersion, *versionFile.version)) return UpdateOutcome::UpToDate;
  if (!versionFile.executableUrl || versionFile.executableUrl->empty()) return UpdateOutcome::Failed;

  const std::optional<std::string> executable = Download(ports.http, *versionFile.executableUrl);
  if (!executable || !LooksLikeExecutable(*executable)) return UpdateOutcome::Failed;
  if (versionFile.sha256 && !MatchesSha256(*executable, *versionFile.sha256)) return UpdateOutcome::Failed;
  if (!ports.files.ReplaceWithBytes(executablePath, *executable)) return UpdateOutcome::Failed;

  const std::string installedProgram =
      ports.environment.ProgramFolder() + "\\" + ports.environment.ProgramBaseName();
  const std::string commandLine =
      Quoted(executablePath) + " " + std::string(kReplaceSwitch) + " " + Quoted(installedProgram);
  return ports.launcher.Start(commandLine, kShowNormal) ? UpdateOutcome::Started : UpdateOutcome::Failed;
}

std::string UpdateHost(EnvironmentApi& environment) {
  if (std::optional<std::string> host = environment.Variable(kUpdateHostVariable); host && !host->empty()) {
    return *host;
  }
  return PRAVELO_UPDATE_HOST;
}

}  // namespace pravelo::update
