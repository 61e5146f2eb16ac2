#include "update/verified_executable.h"

#include <string>

#include "update/sha256.h"

namespace pravelo::update {
namespace {

std::string Quoted(std::string_view text) { return "\"" + std::string(text) + "\""; }

}  // namespace

std::optional<VerifiedExecutable> VerifiedExecutable::Check(std::unique_ptr<HeldFile> file,
                                                            const VerifiedVersionFile& versionFile) {
  const std::optional<std::string>& expected = versionFile.Items().sha256;
  if (!file || !expected) return std::nullopt;
  const Sha256Digest digest = Sha256(file->Bytes());
  if (!SameDigest(digest, *expected)) return std::nullopt;
  return VerifiedExecutable(std::move(file), DigestHex(digest));
}

bool VerifiedExecutable::Start(ProcessLauncher& launcher, std::string_view installedProgram) {
  const std::string commandLine = Quoted(file_->Path()) + " " + std::string(kReplaceSwitch) + " " +
                                  Quoted(installedProgram) + " " + digestHex_;
  if (!launcher.Start(commandLine, kShowNormal)) return false;
  file_->Keep();
  return true;
}

}  // namespace pravelo::update
