// The update check behind the options window's Update button: fetch the version file and its
// signature, believe the file only when the signature verifies and it has not expired, refuse
// a version older than one seen signed before, compare, fetch the new executable, and start
// it only when it matches the signed digest.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/clock.h"
#include "platform/environment_api.h"
#include "platform/held_file_api.h"
#include "platform/http_api.h"
#include "platform/process_launcher.h"
#include "platform/registry_api.h"
#include "platform/signature_api.h"
#include "pravelo_version.h"
#include "update/version_file.h"

namespace pravelo::update {

enum class UpdateOutcome {
  UpToDate,  // the server offers nothing newer
  Failed,    // the check could not be completed or was refused; nothing was started
  Started,   // the new program is running and this one must end now
};

struct UpdatePorts {
  HttpApi& http;
  RegistryApi& registry;
  EnvironmentApi& environment;
  ProcessLauncher& launcher;
  SignatureApi& signatures;
  HeldFileApi& heldFiles;
  Clock& clock;
};

// Where to look and whom to trust.
struct UpdateSource {
  std::string host;                   // host or host:port of the update server
  std::string publicKeyHex;           // the release key, X then Y in hexadecimal; empty trusts nothing
  std::optional<Version> ownVersion;  // nothing when the program could not read it
};

inline constexpr std::string_view kUpdateHostVariable = "PRAVELO_UPDATE_HOST";
inline constexpr std::string_view kNewExecutableName = PRAVELO_PRODUCT_NAME "_tmp.exe";
inline constexpr std::string_view kVersionFilePath = "/version.txt";
inline constexpr std::string_view kSignatureFilePath = "/version.txt.sig";
// The highest version seen signed, so that an older signed file cannot be served again.
inline constexpr std::string_view kUpdateStateKey = PRAVELO_VENDOR_KEY "\\" PRAVELO_PRODUCT_NAME "Update";
inline constexpr std::string_view kHighestVersionValue = "HighestSignedVersion";
// The whole check ends within this time, whatever the server does.
inline constexpr uint64_t kUpdateDeadlineMs = 60000;
inline constexpr size_t kMaxTextBytes = 64 * 1024;
inline constexpr size_t kMaxExecutableBytes = 64 * 1024 * 1024;
// Folders of earlier updates are left for the programs started from them, and removed once
// they are this old.
inline constexpr int64_t kStaleFolderSeconds = 24 * 60 * 60;

// Runs the whole check. The new executable is written to a folder of its own and started
// from it.
UpdateOutcome RunUpdateCheck(UpdatePorts ports, const UpdateSource& source);

// The update server: the environment variable PRAVELO_UPDATE_HOST (a host or host:port)
// when it is set, the host fixed at build time otherwise.
std::string UpdateHost(EnvironmentApi& environment);

// The release key fixed at build time; empty in a build that must never update itself.
std::string_view TrustedPublicKey();

}  // namespace pravelo::update
