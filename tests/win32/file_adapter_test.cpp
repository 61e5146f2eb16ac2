#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "memory/ini_section.h"
#include "platform/file_api_win32.h"
#include "platform/owned_win32.h"
#include "platform/text_win32.h"

namespace pravelo {
namespace {

// A fresh folder under the temporary folder, removed with everything in it.
class FileAdapterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    wchar_t temp[MAX_PATH];
    ASSERT_GT(GetTempPathW(MAX_PATH, temp), 0u);
    folder_ = std::wstring(temp) + L"pravelo_files_" + std::to_wstring(GetCurrentProcessId());
    ASSERT_TRUE(CreateDirectoryW(folder_.c_str(), nullptr));
  }
  void TearDown() override {
    for (const std::wstring& name : Names()) {
      const std::wstring path = folder_ + L"\\" + name;
      SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
      DeleteFileW(path.c_str());
    }
    RemoveDirectoryW(folder_.c_str());
  }

  std::string PathOf(const char* name) const { return Narrow(folder_) + "\\" + name; }
  std::vector<std::wstring> Names() const {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    const HANDLE search = FindFirstFileW((folder_ + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
      const std::wstring name = found.cFileName;
      if (name != L"." && name != L"..") names.push_back(name);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return names;
  }

  FileApiWin32 files_;
  std::wstring folder_;
};

TEST_F(FileAdapterTest, ReplacesWithTheExactBytesAndLeavesNoTemporaryFile) {
  const std::string path = PathOf("system.ini");
  ASSERT_TRUE(files_.ReplaceWithBytes(path, "old contents, longer than the new ones\r\n"));
  std::string bytes("a\0b\r\nc\n\xFF\x80", 9);
  bytes += std::string(3 << 20, 'x');  // past any single read or write
  ASSERT_TRUE(files_.ReplaceWithBytes(path, bytes));
  EXPECT_EQ(files_.ReadBytes(path), bytes);
  EXPECT_EQ(Names(), std::vector<std::wstring>{L"system.ini"});
}

TEST_F(FileAdapterTest, AnUnwritableTargetIsLeftIntact) {
  const std::string path = PathOf("system.ini");
  ASSERT_TRUE(files_.ReplaceWithBytes(path, "[vcache]\r\nm=1\r\n"));
  ASSERT_TRUE(SetFileAttributesW(Widen(path).c_str(), FILE_ATTRIBUTE_READONLY));
  EXPECT_FALSE(files_.ReplaceWithBytes(path, "new"));
  EXPECT_FALSE(memory::RemoveIniSection(files_, path, "vcache"));
  EXPECT_EQ(files_.ReadBytes(path), "[vcache]\r\nm=1\r\n");
  EXPECT_EQ(Names(), std::vector<std::wstring>{L"system.ini"});

  EXPECT_FALSE(files_.ReplaceWithBytes(PathOf("no such folder\\system.ini"), "new"));
  EXPECT_EQ(Names(), std::vector<std::wstring>{L"system.ini"});
}

TEST_F(FileAdapterTest, ATargetHeldOpenByAnotherProgramIsLeftIntact) {
  const std::string path = PathOf("system.ini");
  ASSERT_TRUE(files_.ReplaceWithBytes(path, "[vcache]\r\nm=1\r\n"));
  {
    // As an editor holds a file it has open: no sharing at all.
    const HANDLE opened =
        CreateFileW(Widen(path).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(opened, INVALID_HANDLE_VALUE);
    const OwnedHandle held(opened);
    EXPECT_FALSE(memory::RemoveIniSection(files_, path, "vcache"));
    EXPECT_FALSE(files_.ReplaceWithBytes(path, "new"));
  }
  EXPECT_EQ(files_.ReadBytes(path), "[vcache]\r\nm=1\r\n");
  EXPECT_EQ(Names(), std::vector<std::wstring>{L"system.ini"});
}

TEST_F(FileAdapterTest, SectionRemovalOnARealFile) {
  const std::string path = PathOf("system.ini");
  ASSERT_TRUE(
      files_.ReplaceWithBytes(path, "\n[boot]\nshell=x\n[vcache]\nMinFileCache=4096\n[drivers]\r\nwave=y"));
  EXPECT_TRUE(memory::RemoveIniSection(files_, path, "vcache"));
  EXPECT_EQ(files_.ReadBytes(path), "[boot]\r\nshell=x\r\n[drivers]\r\nwave=y\r\n");

  const std::string missing = PathOf("missing.ini");
  EXPECT_FALSE(memory::RemoveIniSection(files_, missing, "vcache"));
  EXPECT_EQ(files_.ReadBytes(missing), std::nullopt);
  EXPECT_EQ(Names(), std::vector<std::wstring>{L"system.ini"});
}

TEST_F(FileAdapterTest, CopyOverwrites) {
  const std::string from = PathOf("from.exe");
  const std::string to = PathOf("to.exe");
  ASSERT_TRUE(files_.ReplaceWithBytes(from, "new program"));
  ASSERT_TRUE(files_.ReplaceWithBytes(to, "old program, longer"));
  EXPECT_TRUE(files_.Copy(from, to));
  EXPECT_EQ(files_.ReadBytes(to), "new program");
  EXPECT_FALSE(files_.Copy(PathOf("missing.exe"), to));
}

TEST(FileApiWin32Text, ConvertsThroughTheAnsiCodePage) {
  FileApiWin32 files;
  EXPECT_EQ(files.AnsiToUtf8("[vcache]\r\n"), "[vcache]\r\n");
  EXPECT_EQ(files.Utf8ToAnsi("[vcache]\r\n"), "[vcache]\r\n");
  EXPECT_EQ(files.AnsiToUtf8(""), "");
  EXPECT_EQ(files.Utf8ToAnsi("\xFF"), std::nullopt);  // not UTF-8
  if (GetACP() != CP_UTF8) {
    EXPECT_EQ(files.Utf8ToAnsi("\xF0\x9F\x98\x80"), std::nullopt);  // in no ANSI code page
  }
  if (GetACP() == 1252) {
    EXPECT_EQ(files.AnsiToUtf8("caf\xE9"), "caf\xC3\xA9");
    EXPECT_EQ(files.Utf8ToAnsi("caf\xC3\xA9"), "caf\xE9");
  }
}

}  // namespace
}  // namespace pravelo
