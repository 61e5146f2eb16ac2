// What the process knows about itself and its user.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace pravelo {

class EnvironmentApi {
 public:
  virtual ~EnvironmentApi() = default;
  virtual std::optional<std::string> Variable(std::string_view name) = 0;
  // Folders the system names itself, without a trailing backslash; the variables of the
  // same meaning can be set by anyone who starts the process, so they are not used for paths.
  virtual std::string WindowsFolder() = 0;
  virtual std::string SystemFolder() = 0;
  // The running program's folder, without a trailing backslash.
  virtual std::string ProgramFolder() = 0;
  // The running program's file name without its extension.
  virtual std::string ProgramBaseName() = 0;
  // The running program's path without its extension, as "/q" and the update pass it on.
  std::string ProgramPathWithoutExtension() { return ProgramFolder() + "\\" + ProgramBaseName(); }
  std::string ProgramPath() { return ProgramPathWithoutExtension() + ".exe"; }
  // The argument text after the program's file name, without the separating blank.
  virtual std::string CommandLine() = 0;
  // The user's decimal separator.
  virtual std::string DecimalSeparator() = 0;
  // The user's interface language (a LANGID).
  virtual uint16_t UserInterfaceLanguage() = 0;
};

}  // namespace pravelo
