// The Windows side of the signed update: CNG's verdicts, the held file, and where system
// folders and DLLs come from.
#include <windows.h>
// After windows.h, whose types they use.
#include <aclapi.h>
#include <sddl.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <iostream>
#include <string>

#include "platform/environment_api_win32.h"
#include "platform/held_file_api_win32.h"
#include "platform/signature_api_win32.h"
#include "platform/system_library_win32.h"
#include "platform/text_win32.h"
#include "update/sha256.h"
#include "update/signed_version_file.h"

namespace pravelo {
namespace {

// Made with scripts/sign-update.sh and the key in tests/keys.
constexpr char kTestKey[] =
    "d63ed6c555c29a195f1ee322ec3ff88295966bf44d8860f1ba1548f28a48ca743f35355368f88bf0fcd2cf324ce1410931a26825"
    "920bd20c783171c1e62b6930";
constexpr char kSignedText[] =
    "1.43\r\nhttp://h/p.exe\r\n9b8db510ef42b8ed54a3712636fda55a4f8cfcd5493e20b74ab00cd4f3979f2d\r\n";
constexpr char kSignature[] =
    "3d8e19a4c01365834b9b2ac2bac32f1a2391294a9445473eeb9d28059d47f8f8b0804fe2f00d83295595958ba9a489b2d460dc18"
    "b58185cea4129428afa63a2d";

TEST(SignatureApiWin32, CngAcceptsOnlyTheKeysSignatureOfTheseBytes) {
  SignatureApiWin32 cng;
  const P256PublicKey key = *update::ReadPublicKey(kTestKey);
  const P256Signature signature = *update::ReadSignatureFile(kSignature);
  const std::string text = kSignedText;
  EXPECT_TRUE(cng.VerifyP256(key, update::Sha256(text), signature));

  std::string changed = text;
  changed[3] = '4';  // 1.44
  EXPECT_FALSE(cng.VerifyP256(key, update::Sha256(changed), signature));
  P256Signature flipped = signature;
  flipped[40] ^= 0x01;
  EXPECT_FALSE(cng.VerifyP256(key, update::Sha256(text), flipped));
  P256PublicKey otherPoint = key;
  otherPoint[63] ^= 0x01;  // no longer on the curve
  EXPECT_FALSE(cng.VerifyP256(otherPoint, update::Sha256(text), signature));
  EXPECT_FALSE(cng.VerifyP256(P256PublicKey{}, update::Sha256(text), signature));
  EXPECT_FALSE(cng.VerifyP256(key, update::Sha256(text), P256Signature{}));
}

bool Elevated() {
  HANDLE token = nullptr;
  TOKEN_ELEVATION elevation{};
  DWORD size = 0;
  const bool read = OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token) &&
                    GetTokenInformation(token, TokenElevation, &elevation, sizeof elevation, &size);
  if (token) CloseHandle(token);
  return !read || elevation.TokenIsElevated != 0;
}

// Where the update's folders belong: ProgramData for an elevated run, the user's local
// application data otherwise.
std::wstring ExpectedParent() {
  PWSTR path = nullptr;
  EXPECT_TRUE(SUCCEEDED(
      SHGetKnownFolderPath(Elevated() ? FOLDERID_ProgramData : FOLDERID_LocalAppData, 0, nullptr, &path)));
  const std::wstring parent = path ? path : L"";
  CoTaskMemFree(path);
  return parent;
}

bool UnderWine() { return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr; }

std::wstring ParentOf(const std::wstring& path) { return path.substr(0, path.find_last_of(L'\\')); }

std::wstring DaclOf(const std::wstring& path) {
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (GetNamedSecurityInfoW(path.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr,
                            nullptr, nullptr, &descriptor) != ERROR_SUCCESS) {
    return L"";
  }
  LPWSTR text = nullptr;
  ConvertSecurityDescriptorToStringSecurityDescriptorW(descriptor, SDDL_REVISION_1, DACL_SECURITY_INFORMATION,
                                                       &text, nullptr);
  const std::wstring dacl = text ? text : L"";
  LocalFree(text);
  LocalFree(descriptor);
  return dacl;
}

// TMP and TEMP can be set by whoever starts the program, and a folder they name may be one
// its user controls: the held file never goes there, elevated or not.
TEST(HeldFileApiWin32, HeldInAFreshFolderOfTheSystemsChoosingWithWritesDeniedAndRemovedUnlessKept) {
  const std::wstring planted = L"C:\\planted-temp";
  CreateDirectoryW(planted.c_str(), nullptr);
  SetEnvironmentVariableW(L"TMP", planted.c_str());
  SetEnvironmentVariableW(L"TEMP", planted.c_str());
  HeldFileApiWin32 api;
  std::unique_ptr<HeldFile> first = api.WriteAndHold("Pravelo_tmp.exe", "MZ first", 100);
  std::unique_ptr<HeldFile> second = api.WriteAndHold("Pravelo_tmp.exe", "MZ second", 100);
  EXPECT_FALSE(api.WriteAndHold("Pravelo_tmp.exe", "MZ longer than allowed", 8));
  ASSERT_TRUE(first && second);
  EXPECT_NE(first->Path(), second->Path());
  EXPECT_EQ(first->Bytes(), "MZ first");
  const std::wstring path = Widen(first->Path());
  const std::wstring folder = ParentOf(path);
  EXPECT_EQ(ParentOf(folder), ExpectedParent()) << "elevated: " << Elevated();
  EXPECT_TRUE(RemoveDirectoryW(planted.c_str())) << "something was written to TMP";
  // Elevated, only the system and the administrators may touch it; otherwise only this user.
  // Wine makes a folder's access list up from its Unix modes and keeps none it is given.
  const std::wstring dacl = DaclOf(folder);
  if (UnderWine()) {
    std::cout << "[ wine     ] access list not kept: " << Narrow(dacl) << "\n";
  } else if (Elevated()) {
    EXPECT_EQ(dacl, L"D:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)");
  } else {
    EXPECT_TRUE(dacl.starts_with(L"D:P(A;OICI;FA;;;S-1-5-")) << Narrow(dacl);
    EXPECT_EQ(dacl.find(L")("), std::wstring::npos) << Narrow(dacl);
  }

  // Others may read it, as starting it does; nobody may write, rename or delete it.
  HANDLE reader =
      CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                  OPEN_EXISTING, 0, nullptr);
  EXPECT_NE(reader, INVALID_HANDLE_VALUE);
  if (reader != INVALID_HANDLE_VALUE) CloseHandle(reader);
  EXPECT_EQ(CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                        nullptr, OPEN_EXISTING, 0, nullptr),
            INVALID_HANDLE_VALUE);
  EXPECT_FALSE(DeleteFileW(path.c_str()));
  EXPECT_FALSE(MoveFileW(path.c_str(), (path + L".old").c_str()));

  first.reset();
  EXPECT_EQ(GetFileAttributesW(path.c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(GetFileAttributesW(folder.c_str()), INVALID_FILE_ATTRIBUTES);

  const std::wstring kept = Widen(second->Path());
  second->Keep();
  second.reset();
  EXPECT_NE(GetFileAttributesW(kept.c_str()), INVALID_FILE_ATTRIBUTES);
  DeleteFileW(kept.c_str());
  RemoveDirectoryW(ParentOf(kept).c_str());
}

// "/q" reads its own file once, whole, and only up to the download's limit.
TEST(HeldFileApiWin32, ReadsItsOwnProgramWithinALimit) {
  wchar_t own[MAX_PATH] = {};
  ASSERT_GT(GetModuleFileNameW(nullptr, own, MAX_PATH), 0u);
  const HANDLE file = CreateFileW(own, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  LARGE_INTEGER size{};
  GetFileSizeEx(file, &size);
  CloseHandle(file);
  HeldFileApiWin32 api;
  const std::optional<std::string> image = api.ReadOwnProgram(static_cast<size_t>(size.QuadPart));
  ASSERT_TRUE(image);
  EXPECT_EQ(image->size(), static_cast<size_t>(size.QuadPart));
  EXPECT_TRUE(image->starts_with("MZ"));
  EXPECT_FALSE(api.ReadOwnProgram(static_cast<size_t>(size.QuadPart) - 1));
}

// Folders of earlier updates go once they are a day old, with their files; nothing else in
// the same place does.
TEST(HeldFileApiWin32, RemovesOnlyItsOwnFoldersOnceTheyAreOld) {
  const std::wstring parent = ExpectedParent();
  auto make = [&](const std::wstring& name, int ageHours) {
    const std::wstring folder = parent + L"\\" + name;
    EXPECT_TRUE(CreateDirectoryW(folder.c_str(), nullptr)) << Narrow(folder);
    const HANDLE file = CreateFileW((folder + L"\\Pravelo_tmp.exe").c_str(), GENERIC_WRITE, 0, nullptr,
                                    CREATE_NEW, 0, nullptr);
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    const HANDLE handle =
        CreateFileW(folder.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    FILETIME now{};
    GetSystemTimeAsFileTime(&now);
    ULARGE_INTEGER then{{now.dwLowDateTime, now.dwHighDateTime}};
    then.QuadPart -= static_cast<uint64_t>(ageHours) * 3600 * 10000000;
    const FILETIME changed{then.LowPart, then.HighPart};
    EXPECT_TRUE(SetFileTime(handle, nullptr, nullptr, &changed));
    CloseHandle(handle);
    return folder;
  };
  const struct {
    std::wstring name;
    int ageHours;
    bool removed;
  } cases[] = {
      {L"Pravelo-test-old", 25, true},
      {L"Pravelo-test-fresh", 23, false},
      {L"Other-test-old", 48, false},
  };
  for (const auto& c : cases) make(c.name, c.ageHours);
  HeldFileApiWin32().RemoveFoldersOlderThan(24 * 60 * 60);
  for (const auto& c : cases) {
    const std::wstring folder = parent + L"\\" + c.name;
    EXPECT_EQ(GetFileAttributesW(folder.c_str()) == INVALID_FILE_ATTRIBUTES, c.removed) << Narrow(c.name);
    DeleteFileW((folder + L"\\Pravelo_tmp.exe").c_str());
    RemoveDirectoryW(folder.c_str());
  }
}

// The variables can be set by whoever starts the program; the folders cannot.
TEST(SystemFolders, ComeFromTheSystemWhateverTheEnvironmentSays) {
  EnvironmentApiWin32 environment;
  const std::string windows = environment.WindowsFolder();
  const std::string system = environment.SystemFolder();
  ASSERT_FALSE(windows.empty() || system.empty());
  EXPECT_EQ(system.find(windows), 0u);

  SetEnvironmentVariableW(L"windir", L"C:\\planted");
  EXPECT_EQ(environment.WindowsFolder(), windows);
  EXPECT_EQ(environment.SystemFolder(), system);
  SetEnvironmentVariableW(L"windir", Widen(windows).c_str());
}

TEST(SystemLibrary, LoadsFromTheSystemFolderAndFindsOnlyWhatIsThere) {
  const SystemLibrary winhttp(L"winhttp.dll");
  EXPECT_TRUE(winhttp.Find<FARPROC>("WinHttpOpen"));
  EXPECT_FALSE(winhttp.Find<FARPROC>("NoSuchFunction"));
  HMODULE loaded = GetModuleHandleW(L"winhttp.dll");
  ASSERT_TRUE(loaded);
  wchar_t path[MAX_PATH] = {};
  ASSERT_GT(GetModuleFileNameW(loaded, path, MAX_PATH), 0u);
  EnvironmentApiWin32 environment;
  EXPECT_EQ(_wcsicmp(path, Widen(environment.SystemFolder() + "\\winhttp.dll").c_str()), 0) << Narrow(path);
  EXPECT_FALSE(SystemLibrary(L"no-such-library.dll").Find<FARPROC>("Anything"));
}

}  // namespace
}  // namespace pravelo
