#include "platform/held_file_api_win32.h"

#include <windows.h>
// After windows.h, whose types they use.
#include <sddl.h>
#include <shlobj.h>

#include <optional>
#include <string>

#include "platform/file_io_win32.h"
#include "platform/module_path_win32.h"
#include "platform/owned_win32.h"
#include "platform/text_win32.h"
#include "pravelo_version.h"

namespace pravelo {
namespace {

using OwnedLocal = Owned<HLOCAL, &LocalFree>;
using OwnedFind = Owned<HANDLE, &FindClose>;

constexpr int kFolderAttempts = 16;
constexpr wchar_t kFolderPrefix[] = L"" PRAVELO_PRODUCT_NAME "-";
// Everything for the system and the administrators, nothing for anybody else, nothing
// inherited from the folder above.
constexpr wchar_t kAdministratorsOnly[] = L"D:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)";
// A FILETIME counts 100 ns steps.
constexpr int64_t kStepsPerSecond = 10000000;

// Where the update's folders go, and who may use them.
struct Place {
  std::wstring parent;
  std::wstring access;  // SDDL
};

// A token that cannot be read counts as elevated: its folders are then made for the
// administrators, which at worst makes the update fail.
bool RunsElevated() {
  OwnedHandle token;
  TOKEN_ELEVATION elevation{};
  DWORD size = 0;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, token.Put()) ||
      !GetTokenInformation(token.Get(), TokenElevation, &elevation, sizeof elevation, &size)) {
    return true;
  }
  return elevation.TokenIsElevated != 0;
}

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

std::wstring KnownFolder(REFKNOWNFOLDERID id) {
  PWSTR path = nullptr;
  const HRESULT result = SHGetKnownFolderPath(id, 0, nullptr, &path);
  std::wstring folder = SUCCEEDED(result) && path ? path : L"";
  CoTaskMemFree(path);
  return folder;
}

// Folders the system names, never the TMP or TEMP that whoever started the program chose: an
// elevated program keeps its files where only administrators can write, so that no other
// program of the user can swap them or redirect a write through a link.
std::optional<Place> UpdatePlace() {
  const bool elevated = RunsElevated();
  std::wstring parent = KnownFolder(elevated ? FOLDERID_ProgramData : FOLDERID_LocalAppData);
  std::optional<std::wstring> access =
      elevated ? std::optional<std::wstring>(kAdministratorsOnly) : UserOnlyAccess();
  if (parent.empty() || !access) return std::nullopt;
  return Place{std::move(parent), std::move(*access)};
}

// A folder that did not exist before: nobody else can have put anything into it.
std::optional<std::wstring> CreatePrivateFolder() {
  const std::optional<Place> place = UpdatePlace();
  if (!place) return std::nullopt;
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(place->access.c_str(), SDDL_REVISION_1,
                                                            &descriptor, nullptr)) {
    return std::nullopt;
  }
  const OwnedLocal descriptorOwner(descriptor);
  SECURITY_ATTRIBUTES attributes{sizeof(attributes), descriptor, FALSE};
  for (int attempt = 0; attempt < kFolderAttempts; ++attempt) {
    LARGE_INTEGER counter{};
    QueryPerformanceCounter(&counter);
    const std::wstring folder =
        place->parent + L"\\" + kFolderPrefix +
        Widen(std::to_string(GetCurrentProcessId()) + "-" + std::to_string(counter.QuadPart + attempt));
    if (CreateDirectoryW(folder.c_str(), &attributes)) return folder;
    if (GetLastError() != ERROR_ALREADY_EXISTS) return std::nullopt;
  }
  return std::nullopt;
}

// Opens a file for reading, shared only with readers: while it is open nobody can write,
// rename or delete it.
OwnedHandle OpenDenyingChanges(const std::wstring& path) {
  const HANDLE opened = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
  return OwnedHandle(opened == INVALID_HANDLE_VALUE ? nullptr : opened);
}

template <class Visit>
void ForEachEntry(const std::wstring& pattern, Visit visit) {
  WIN32_FIND_DATAW entry{};
  const HANDLE first = FindFirstFileW(pattern.c_str(), &entry);
  if (first == INVALID_HANDLE_VALUE) return;
  const OwnedFind found(first);
  do {
    visit(entry);
  } while (FindNextFileW(found.Get(), &entry));
}

int64_t FileTimeSteps(const FILETIME& time) {
  return static_cast<int64_t>(uint64_t{time.dwHighDateTime} << 32 | time.dwLowDateTime);
}

// Removes the files of a folder and then the folder. The folder is held open without delete
// sharing meanwhile, so that it cannot be swapped for a link to somewhere else; a link found
// inside is removed as a link.
void RemoveFolder(const std::wstring& folder) {
  {
    const HANDLE opened =
        CreateFileW(folder.c_str(), FILE_LIST_DIRECTORY, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (opened == INVALID_HANDLE_VALUE) return;
    const OwnedHandle held(opened);
    BY_HANDLE_FILE_INFORMATION information{};
    if (!GetFileInformationByHandle(held.Get(), &information) ||
        (information.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
      return;
    }
    ForEachEntry(folder + L"\\*", [&](const WIN32_FIND_DATAW& entry) {
      if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
        DeleteFileW((folder + L"\\" + entry.cFileName).c_str());
      }
    });
  }
  RemoveDirectoryW(folder.c_str());
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

  // Reopens the file so that it cannot change, and reads what it holds.
  bool Hold(size_t maxBytes) {
    handle_ = OpenDenyingChanges(path_);
    if (!handle_) return false;
    std::optional<std::string> bytes = ReadAll(handle_.Get(), maxBytes);
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

std::unique_ptr<HeldFile> HeldFileApiWin32::WriteAndHold(std::string_view fileName, std::string_view bytes,
                                                         size_t maxBytes) {
  const std::optional<std::wstring> folder = CreatePrivateFolder();
  if (!folder) return nullptr;
  auto file = std::make_unique<HeldFileWin32>(*folder, *folder + L"\\" + Widen(fileName));
  if (!file->Write(bytes) || !file->Hold(maxBytes)) return nullptr;
  return file;
}

std::optional<std::string> HeldFileApiWin32::ReadOwnProgram(size_t maxBytes) {
  const std::wstring path = RunningModulePath();
  if (path.empty()) return std::nullopt;
  const OwnedHandle held = OpenDenyingChanges(path);
  if (!held) return std::nullopt;
  return ReadAll(held.Get(), maxBytes);
}

// A folder's age counts from its last change, which is when its file was written: not every
// file system keeps a creation time.
void HeldFileApiWin32::RemoveFoldersOlderThan(int64_t ageSeconds) {
  const std::optional<Place> place = UpdatePlace();
  if (!place) return;
  FILETIME now{};
  GetSystemTimeAsFileTime(&now);
  const int64_t newest = FileTimeSteps(now) - ageSeconds * kStepsPerSecond;
  ForEachEntry(place->parent + L"\\" + kFolderPrefix + L"*", [&](const WIN32_FIND_DATAW& entry) {
    const bool folder = (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 &&
                        (entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0;
    if (folder && FileTimeSteps(entry.ftLastWriteTime) < newest)
      RemoveFolder(place->parent + L"\\" + entry.cFileName);
  });
}

}  // namespace pravelo
