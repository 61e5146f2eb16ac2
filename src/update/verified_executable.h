// The new program, started only when it is the one the signed version file names.
#pragma once

#include <memory>
#include <optional>
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

  // Starts it with the hand-over switch and the installed program's path (without its
  // extension); the file stays held until the program has started.
  bool Start(ProcessLauncher& launcher, std::string_view installedProgram);

 private:
  explicit VerifiedExecutable(std::unique_ptr<HeldFile> file) : file_(std::move(file)) {}

  std::unique_ptr<HeldFile> file_;
};

}  // namespace pravelo::update
