#include "platform/file_io_win32.h"

#include <algorithm>

namespace pravelo {

bool WriteAll(HANDLE file, std::string_view bytes) {
  constexpr std::size_t kChunk = 1 << 20;
  while (!bytes.empty()) {
    const DWORD wanted = static_cast<DWORD>(std::min(bytes.size(), kChunk));
    DWORD written = 0;
    if (!WriteFile(file, bytes.data(), wanted, &written, nullptr) || written == 0) return false;
    bytes.remove_prefix(written);
  }
  return true;
}

std::optional<std::string> ReadAll(HANDLE file, std::size_t maxBytes) {
  std::string bytes;
  char buffer[64 * 1024];
  for (;;) {
    DWORD read = 0;
    if (!ReadFile(file, buffer, sizeof buffer, &read, nullptr)) return std::nullopt;
    if (read == 0) return bytes;
    if (read > maxBytes - bytes.size()) return std::nullopt;
    bytes.append(buffer, read);
  }
}

}  // namespace pravelo
