// HeldFileApi on kernel32: a fresh folder for the update, where only administrators can write
// when the program runs elevated and only this user otherwise, and the file in it open for
// reading with writes and deletion denied to everyone.
#pragma once

#include "platform/held_file_api.h"

namespace pravelo {

class HeldFileApiWin32 final : public HeldFileApi {
 public:
  std::unique_ptr<HeldFile> WriteAndHold(std::string_view fileName, std::string_view bytes,
                                         size_t maxBytes) override;
  std::optional<std::string> ReadOwnProgram(size_t maxBytes) override;
  void RemoveFoldersOlderThan(int64_t ageSeconds) override;
};

}  // namespace pravelo
