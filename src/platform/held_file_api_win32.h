// HeldFileApi on kernel32: a fresh folder under the temporary folder that only this user may
// use, and the file in it open for reading with writes and deletion denied to everyone.
#pragma once

#include "platform/held_file_api.h"

namespace pravelo {

class HeldFileApiWin32 final : public HeldFileApi {
 public:
  std::unique_ptr<HeldFile> WriteAndHold(std::string_view fileName, std::string_view bytes) override;
};

}  // namespace pravelo
