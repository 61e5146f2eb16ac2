// The Windows side of the signed update: CNG's verdicts, the held file, and where system
// folders and DLLs come from.
#include <windows.h>

#include <gtest/gtest.h>

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

TEST(HeldFileApiWin32, HeldInAFreshFolderWithWritesDeniedAndRemovedUnlessKept) {
  HeldFileApiWin32 api;
  std::unique_ptr<HeldFile> first = api.WriteAndHold("Pravelo_tmp.exe", "MZ first");
  std::unique_ptr<HeldFile> second = api.WriteAndHold("Pravelo_tmp.exe", "MZ second");
  ASSERT_TRUE(first && second);
  EXPECT_NE(first->Path(), second->Path());
  EXPECT_EQ(first->Bytes(), "MZ first");
  const std::wstring path = Widen(first->Path());
  const std::wstring folder = path.substr(0, path.find_last_of(L'\\'));
  EnvironmentApiWin32 environment;
  EXPECT_EQ(Narrow(folder.substr(0, folder.find_last_of(L'\\'))), environment.TempFolder());

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
  RemoveDirectoryW(kept.substr(0, kept.find_last_of(L'\\')).c_str());
}

// The variables can be set by whoever starts the program; the folders cannot.
TEST(SystemFolders, ComeFromTheSystemWhateverTheEnvironmentSays) {
  EnvironmentApiWin32 environment;
  const std::string windows = environment.WindowsFolder();
  const std::string system = environment.SystemFolder();
  const std::string temp = environment.TempFolder();
  ASSERT_FALSE(windows.empty() || system.empty() || temp.empty());
  EXPECT_EQ(system.find(windows), 0u);
  EXPECT_NE(temp.back(), '\\');

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
