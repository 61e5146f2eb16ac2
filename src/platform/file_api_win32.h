// Files by UTF-8 path through the wide functions; texts in the system ANSI code page.
#pragma once

#include "platform/file_api.h"

namespace pravelo {

class FileApiWin32 : public FileApi {
 public:
  std::optional<std::string> ReadBytes(const std::string& path) override;
  bool ReplaceWithBytes(const std::string& path, std::string_view bytes) override;
  bool Copy(const std::string& from, const std::string& to) override;
  std::optional<std::string> AnsiToUtf8(std::string_view ansi) override;
  std::optional<std::string> Utf8ToAnsi(std::string_view utf8) override;
};

}  // namespace pravelo
