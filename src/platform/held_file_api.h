// Files of the update that nobody else can change between their check and their use.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace pravelo {

// Open with writes and deletion denied to everyone; closing it removes the file and its
// folder unless Keep() was called.
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
  // Writes `bytes` as `fileName` into a new folder of the update's own, which nobody but the
  // program's own rights can write; nothing on any failure, and nothing when more than
  // `maxBytes` are read back.
  virtual std::unique_ptr<HeldFile> WriteAndHold(std::string_view fileName, std::string_view bytes,
                                                 size_t maxBytes) = 0;
  // The running program's own file, read through one handle that lets nobody write, rename or
  // delete it meanwhile; nothing when it cannot be read or holds more than `maxBytes`.
  virtual std::optional<std::string> ReadOwnProgram(size_t maxBytes) = 0;
  // Removes the update's folders made more than `ageSeconds` ago, with the files in them.
  virtual void RemoveFoldersOlderThan(int64_t ageSeconds) = 0;
};

}  // namespace pravelo
