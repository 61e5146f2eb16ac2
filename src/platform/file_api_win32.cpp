#include "platform/file_api_win32.h"

#include <windows.h>

#include <climits>
#include <memory>

#include "platform/file_io_win32.h"
#include "platform/text_win32.h"

namespace pravelo {
namespace {

struct HandleClose {
  void operator()(HANDLE handle) const { CloseHandle(handle); }
};
using UniqueFile = std::unique_ptr<void, HandleClose>;

UniqueFile OpenFile(const std::wstring& path, DWORD access, DWORD share, DWORD disposition) {
  const HANDLE handle =
      CreateFileW(path.c_str(), access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
  return UniqueFile(handle == INVALID_HANDLE_VALUE ? nullptr : handle);
}

// Deletes the temporary file unless it has been put in place.
class TemporaryFile {
 public:
  explicit TemporaryFile(std::wstring path) : path_(std::move(path)) {}
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;
  ~TemporaryFile() {
    if (!moved_) DeleteFileW(path_.c_str());
  }
  const std::wstring& Path() const { return path_; }
  bool MoveOnto(const std::wstring& target) {
    moved_ = MoveFileExW(path_.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    return moved_;
  }

 private:
  std::wstring path_;
  bool moved_ = false;
};

// The folder part of a path, separator included; the current folder for a bare name.
std::wstring FolderOf(const std::wstring& path) {
  const std::size_t separator = path.find_last_of(L"\\/");
  return separator == std::wstring::npos ? L"." : path.substr(0, separator + 1);
}

}  // namespace

std::optional<std::string> FileApiWin32::ReadBytes(const std::string& path) {
  const UniqueFile file =
      OpenFile(Widen(path), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING);
  if (!file) return std::nullopt;
  return ReadAll(file.get());
}

bool FileApiWin32::ReplaceWithBytes(const std::string& path, std::string_view bytes) {
  const std::wstring target = Widen(path);
  // A read-only file is not to be replaced: Windows refuses the move, Wine does not.
  const DWORD attributes = GetFileAttributesW(target.c_str());
  constexpr DWORD kNotReplaceable = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY;
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & kNotReplaceable) != 0) return false;
  wchar_t tempName[MAX_PATH];
  if (!GetTempFileNameW(FolderOf(target).c_str(), L"prv", 0, tempName)) return false;
  TemporaryFile temp(tempName);
  UniqueFile file = OpenFile(temp.Path(), GENERIC_WRITE, 0, TRUNCATE_EXISTING);
  if (!file || !WriteAll(file.get(), bytes) || !FlushFileBuffers(file.get())) return false;
  if (!CloseHandle(file.release())) return false;
  return temp.MoveOnto(target);
}

bool FileApiWin32::Copy(const std::string& from, const std::string& to) {
  return CopyFileW(Widen(from).c_str(), Widen(to).c_str(), FALSE);
}

std::optional<std::string> FileApiWin32::AnsiToUtf8(std::string_view ansi) {
  if (ansi.empty()) return std::string();
  if (ansi.size() > INT_MAX) return std::nullopt;
  const int size = static_cast<int>(ansi.size());
  const int length = MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, ansi.data(), size, nullptr, 0);
  if (length == 0) return std::nullopt;
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, ansi.data(), size, wide.data(), length);
  return Narrow(wide);
}

std::optional<std::string> FileApiWin32::Utf8ToAnsi(std::string_view utf8) {
  if (utf8.empty()) return std::string();
  if (utf8.size() > INT_MAX) return std::nullopt;
  const int size = static_cast<int>(utf8.size());
  const int wideLength = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), size, nullptr, 0);
  if (wideLength == 0) return std::nullopt;
  std::wstring wide(static_cast<std::size_t>(wideLength), L'\0');
  MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), size, wide.data(), wideLength);

  // Where the ANSI code page is UTF-8 itself, every character converts and the system
  // refuses the lossy-conversion checks.
  const bool utf8CodePage = GetACP() == CP_UTF8;
  const DWORD flags = utf8CodePage ? 0 : WC_NO_BEST_FIT_CHARS;
  BOOL usedDefault = FALSE;
  BOOL* const lossy = utf8CodePage ? nullptr : &usedDefault;
  const int length = WideCharToMultiByte(CP_ACP, flags, wide.data(), wideLength, nullptr, 0, nullptr, lossy);
  if (length == 0 || usedDefault) return std::nullopt;
  std::string ansi(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(CP_ACP, flags, wide.data(), wideLength, ansi.data(), length, nullptr, lossy);
  if (usedDefault) return std::nullopt;
  return ansi;
}

}  // namespace pravelo
