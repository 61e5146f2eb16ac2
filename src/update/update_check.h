// The update check behind the options window's Update button: fetch the version file,
// compare, fetch the new executable and start it to replace this program.
#pragma once

#include <string>
#include <string_view>

#include "platform/environment_api.h"
#include "platform/file_api.h"
#include "platform/http_api.h"
#include "platform/process_launcher.h"

namespace pravelo::update {

enum class UpdateOutcome {
  UpToDate,  // the server offers nothing newer
  Failed,    // the check could not be completed; nothing was started
  Started,   // the new program is running and this one must end now
};

struct UpdatePorts {
  HttpApi& http;
  FileApi& files;
  EnvironmentApi& environment;
  ProcessLauncher& launcher;
};

inline constexpr std::string_view kUpdateHostVariable = "PRAVELO_UPDATE_HOST";
inline constexpr std::string_view kTempVariable = "temp";
inline constexpr std::string_view kVersionFileName = "pravelo.versiontxt";
inline constexpr std::string_view kNewExecutableName = "Pravelo_tmp.exe";
inline constexpr std::string_view kVersionFilePath = "/version.txt";
inline constexpr std::string_view kReplaceSwitch = "/q";
inline constexpr int kUpdateWaitMs = 30000;

// Runs the whole check and leaves the version file and the new executable in the temporary
// folder. Each file there holds a complete body answered with status 200 or is left as it
// was; an executable is started only when it looks like one and matches a published digest.
UpdateOutcome RunUpdateCheck(UpdatePorts ports, double ownVersion, std::string_view host);

// The update server: the environment variable PRAVELO_UPDATE_HOST (a host or host:port)
// when it is set, the host fixed at build time otherwise.
std::string UpdateHost(EnvironmentApi& environment);

}  // namespace pravelo::update
