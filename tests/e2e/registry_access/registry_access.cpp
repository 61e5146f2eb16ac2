// Takes the write access to a machine key away from everyone, or gives it back, so that the
// end-to-end tests can see what the program does without administrator rights:
//   registry_access read-only|writable <key under HKEY_LOCAL_MACHINE>
// Exit codes: 0 done, 1 the key could not be changed, 2 bad usage.
#include <windows.h>
// After windows.h, which it needs.
#include <sddl.h>

#include <cstdio>
#include <memory>
#include <string>

#include "platform/owned_win32.h"

namespace {

constexpr int kDone = 0;
constexpr int kFailed = 1;
constexpr int kUsage = 2;
// Protected lists, so nothing inherited from the parent key grants more.
constexpr wchar_t kReadOnly[] = L"D:P(A;;KR;;;WD)";
constexpr wchar_t kWritable[] = L"D:P(A;;KA;;;WD)";

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 3) {
    std::fputs("usage: registry_access read-only|writable <key under HKLM>\n", stderr);
    return kUsage;
  }
  const std::wstring mode = argv[1];
  if (mode != L"read-only" && mode != L"writable") return kUsage;
  pravelo::OwnedKey key;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, argv[2], 0, WRITE_DAC, key.Put()) != ERROR_SUCCESS) return kFailed;
  PSECURITY_DESCRIPTOR made = nullptr;
  if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(mode == L"read-only" ? kReadOnly : kWritable,
                                                            SDDL_REVISION_1, &made, nullptr)) {
    return kFailed;
  }
  const std::unique_ptr<void, decltype(&LocalFree)> descriptor(made, &LocalFree);
  const LSTATUS status = RegSetKeySecurity(key.Get(), DACL_SECURITY_INFORMATION, descriptor.get());
  return status == ERROR_SUCCESS ? kDone : kFailed;
}
