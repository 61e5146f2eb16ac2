#include "platform/standard_output_win32.h"

#include <windows.h>

#include "platform/owned_win32.h"
#include "platform/text_win32.h"

namespace pravelo {
namespace {

bool WriteAll(HANDLE output, std::string_view text) {
  while (!text.empty()) {
    DWORD written = 0;
    if (!WriteFile(output, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) || written == 0) {
      return false;
    }
    text.remove_prefix(written);
  }
  return true;
}

}  // namespace

void StandardOutputWin32::Write(std::string_view text) {
  // A file or a pipe the starter redirected the output to gets the UTF-8 bytes.
  const HANDLE given = GetStdHandle(STD_OUTPUT_HANDLE);
  const DWORD type = given && given != INVALID_HANDLE_VALUE ? GetFileType(given) : FILE_TYPE_UNKNOWN;
  if (type == FILE_TYPE_DISK || type == FILE_TYPE_PIPE) {
    WriteAll(given, text);
    return;
  }
  // A console gets wide text, whatever its code page; a GUI program has none of its own,
  // so it borrows its starter's.
  if (type != FILE_TYPE_CHAR && !AttachConsole(ATTACH_PARENT_PROCESS)) return;
  const HANDLE opened =
      CreateFileW(L"CONOUT$", GENERIC_WRITE, FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
  if (opened == INVALID_HANDLE_VALUE) return;
  const OwnedHandle console(opened);
  const std::wstring wide = Widen(text);
  DWORD written = 0;
  WriteConsoleW(console.Get(), wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
}

}  // namespace pravelo
