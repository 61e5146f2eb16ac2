// A downloaded file that nobody else can change between its check and its use.
#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace pravelo {

// Open with writes denied to everyone; closing it removes the file and its folder unless
// Keep() was called.
class HeldFile {
 public:
  virtual ~HeldFile() = default;
  virtual const std::string& Path() const = 0;
  // The contents as read back through the open handle, after writing.
  virtual const std::string& Bytes() const = 0;
  // Leaves the file and its folder in place when it is closed (a program started from it
  // still needs them).
  virtual void Keep() = 0;
};

class HeldFileApi {
 public:
  virtual ~HeldFileApi() = default;
  // Writes `bytes` as `fileName` into a folder made for it under the temporary folder, that
  // only the current user can write; nothing on any failure.
  virtual std::unique_ptr<HeldFile> WriteAndHold(std::string_view fileName, std::string_view bytes) = 0;
};

}  // namespace pravelo
