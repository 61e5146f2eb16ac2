#include "platform/program_path.h"

#include <gtest/gtest.h>

namespace pravelo {
namespace {

TEST(SplitProgramPath, GivesFolderWithoutBackslashAndNameWithoutExtension) {
  struct Case {
    const char* path;
    const char* folder;
    const char* baseName;
  };
  const Case cases[] = {
      {"C:\\Pravelo\\pravelo.exe", "C:\\Pravelo", "pravelo"},
      {"C:\\Program Files\\My.Tools\\pravelo.exe", "C:\\Program Files\\My.Tools", "pravelo"},
      {"C:\\Temp\\Pravelo_tmp.new.exe", "C:\\Temp", "Pravelo_tmp.new"},
      {"C:\\Temp\\noextension", "C:\\Temp", "noextension"},
      {"C:\\pravelo.exe", "C:", "pravelo"},
      {"\\\\server\\share\\프라벨로.exe", "\\\\server\\share", "프라벨로"},
      {"C:\\Temp\\.hidden", "C:\\Temp", ".hidden"},
      {"pravelo.exe", "", "pravelo"},
  };
  for (const Case& c : cases) {
    const ProgramPathParts parts = SplitProgramPath(c.path);
    EXPECT_EQ(parts.folder, c.folder) << c.path;
    EXPECT_EQ(parts.baseName, c.baseName) << c.path;
  }
}

TEST(SamePath, IgnoresTheCaseOfLettersOnly) {
  EXPECT_TRUE(SamePath("C:\\WINDOWS\\system32\\Pravelo1.exe", "c:\\windows\\System32\\pravelo1.EXE"));
  EXPECT_FALSE(SamePath("C:\\Pravelo\\pravelo.exe", "C:\\Pravelo\\pravelo.exe2"));
  EXPECT_FALSE(SamePath("C:\\Pravelo\\pravelo1.exe", "C:\\Pravelo\\pravelo2.exe"));
  EXPECT_FALSE(SamePath("C:\\Pravelo\\[a].exe", "C:\\Pravelo\\{a}.exe"));  // one bit apart, as case is
}

}  // namespace
}  // namespace pravelo
