// Files by path (UTF-8), and the system ANSI code page that the program's text files use.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace pravelo {

class FileApi {
 public:
  virtual ~FileApi() = default;
  // The whole file; nothing when it is missing or cannot be read.
  virtual std::optional<std::string> ReadBytes(const std::string& path) = 0;
  // Writes the bytes to a new file in the same folder and only then puts it in place of
  // `path`; on any failure `path` is as it was and the result is false.
  virtual bool ReplaceWithBytes(const std::string& path, std::string_view bytes) = 0;
  // Copies a file, overwriting the target.
  virtual bool Copy(const std::string& from, const std::string& to) = 0;
  // Conversions between UTF-8 and the system ANSI code page; nothing when a text does not
  // convert without loss.
  virtual std::optional<std::string> AnsiToUtf8(std::string_view ansi) = 0;
  virtual std::optional<std::string> Utf8ToAnsi(std::string_view utf8) = 0;
};

}  // namespace pravelo
