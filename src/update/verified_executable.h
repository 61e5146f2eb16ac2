// The new program, started only when it is the one the signed version file names.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/held_file_api.h"
#include "platform/process_launcher.h"
#include "update/signed_version_file.h"

namespace pravelo::update {

inline constexpr std::string_view kReplaceSwitch = "/q";

// A held file whose bytes match the digest of a verified version file. Check() is the only
// way to make one and Start() the only way the update starts a program.
class VerifiedExecutable {
 public:
  // Nothing unless the version file names a digest and the held bytes match it.
  static std::optional<VerifiedExecutable> Check(std::unique_ptr<HeldFile> file,
                                                 const VerifiedVersionFile& versionFile);

  // Starts it with the hand-over switch, the installed program's path (without its
  // extension) and the digest the new program checks its own file against; the file stays
  // held until the program has started.
  bool Start(ProcessLauncher& launcher, std::string_view installedProgram);

 private:
  VerifiedExecutable(std::unique_ptr<HeldFile> file, std::string digestHex)
      : file_(std::move(file)), digestHex_(std::move(digestHex)) {}

  std::unique_ptr<HeldFile> file_;
  std::string digestHex_;
};

}  // namespace pravelo::update
