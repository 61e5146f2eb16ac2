#include "platform/held_file_api_win32.h"

#include <windows.h>
// After windows.h, whose types it uses.
#include <sddl.h>

#include <optional>
#include <string>

#include "platform/file_io_win32.h"
#include "platform/owned_win32.h"
#include "platform/system_folders_win32.h"
#include "platform/text_win32.h"

namespace pravelo {
namespace {

using OwnedLocal = Owned<HLOCAL, &LocalFree>;

constexpr int kFolderAttempts = 16;

// "Full access for this user only, nothing inherited from the temporary folder", as SDDL.
std::optional<std::wstring> UserOnlyAccess() {
  OwnedHandle token;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, token.Put())) return std::nullopt;
  DWORD size = 0;
  GetTokenInformation(token.Get(), TokenUser, nullptr, 0, &size);
  std::string buffer(size, '\0');
  if (size == 0 || !GetTokenInformation(token.Get(), TokenUser, buffer.data(), size, &size))
    return std::nullopt;
  LPWSTR sidText = nullptr;
  if (!ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid, &sidText)) {
    return std::nullopt;
  }
  const OwnedLocal sidOwner(sidText);
  return L"D:P(A;OICI;FA;;;" + std::wstring(sidText) + L")";
}

// A folder that did not exist before: nobody else can have put anything into it.
std::optional<std::wstring> CreatePrivateFolder() {
  const std::wstring temp = TempFolderPath();
  const std::optional<std::wstring> access = UserOnlyAccess();
  if (temp.empty() || !access) return std::nullopt;
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(access->c_str(), SDDL_REVISION_1, &descriptor,
                                                            nullptr)) {
    return std::nullopt;
  }
  const OwnedLocal descriptorOwner(descriptor);
  SECURITY_ATTRIBUTES attributes{sizeof(attributes), descriptor, FALSE};
  for (int attempt = 0; attempt < kFolderAttempts; ++attempt) {
    LARGE_INTEGER counter{};
    QueryPerformanceCounter(&counter);
    const std::wstring folder =
        temp + L"\\Pravelo-" +
        Widen(std::to_string(GetCurrentProcessId()) + "-" + std::to_string(counter.QuadPart + attempt));
    if (CreateDirectoryW(folder.c_str(), &attributes)) return folder;
    if (GetLastError() != ERROR_ALREADY_EXISTS) return std::nullopt;
  }
  return std::nullopt;
}

class HeldFileWin32 final : public HeldFile {
 public:
  HeldFileWin32(std::wstring folder, std::wstring path)
      : folder_(std::move(folder)), path_(std::move(path)), utf8Path_(Narrow(path_)) {}
  ~HeldFileWin32() override {
    handle_.Reset();
    if (keep_) return;
    DeleteFileW(path_.c_str());
    RemoveDirectoryW(folder_.c_str());
  }
  const std::string& Path() const override { return utf8Path_; }
  const std::string& Bytes() const override { return bytes_; }
  void Keep() override { keep_ = true; }

  bool Write(std::string_view bytes) {
    const HANDLE created =
        CreateFileW(path_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (created == INVALID_HANDLE_VALUE) return false;
    const OwnedHandle writer(created);
    return WriteAll(writer.Get(), bytes);
  }

  // Reopens the file for reading, sharing it only with readers, and reads what it holds.
  bool Hold() {
    const HANDLE reader = CreateFileW(path_.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    if (reader == INVALID_HANDLE_VALUE) return false;
    handle_.Reset(reader);
    std::optional<std::string> bytes = ReadAll(reader);
    if (!bytes) return false;
    bytes_ = std::move(*bytes);
    return true;
  }

 private:
  std::wstring folder_;
  std::wstring path_;
  std::string utf8Path_;
  std::string bytes_;
  OwnedHandle handle_;
  bool keep_ = false;
};

}  // namespace

std::unique_ptr<HeldFile> HeldFileApiWin32::WriteAndHold(std::string_view fileName, std::string_view bytes) {
  const std::optional<std::wstring> folder = CreatePrivateFolder();
  if (!folder) return nullptr;
  auto file = std::make_unique<HeldFileWin32>(*folder, *folder + L"\\" + Widen(fileName));
  if (!file->Write(bytes) || !file->Hold()) return nullptr;
  return file;
}

}  // namespace pravelo
