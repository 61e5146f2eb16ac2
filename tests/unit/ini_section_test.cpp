#include <gtest/gtest.h>

#include "fakes/fake_file_api.h"
#include "memory/ini_section.h"

namespace pravelo::memory {
namespace {

using fakes::FakeFileApi;

const std::string kPath = "C:\\windows\\system.ini";

TEST(RemoveIniSection, RewritesTheFileWithoutTheSection) {
  struct Case {
    const char* name;
    std::string before;
    std::string section;
    std::string after;
  };
  const Case cases[] = {
      {"no such section, LF only", "a=1\nb=2", "vcache", "a=1\r\nb=2\r\n"},
      {"CR LF kept, one break at the end", "[x]\r\na=1\r\n", "vcache", "[x]\r\na=1\r\n"},
      {"lone CR ends a line", "a\rb\r", "vcache", "a\r\nb\r\n"},
      {"mixed breaks", "a\r\nb\nc\rd", "vcache", "a\r\nb\r\nc\r\nd\r\n"},
      {"LF CR is two breaks", "a\n\rb", "vcache", "a\r\n\r\nb\r\n"},
      {"leading empty lines dropped, later ones kept", "\r\n\n[x]\r\n\r\na=1\r\n\r\n", "vcache",
       "[x]\r\n\r\na=1\r\n\r\n"},
      {"middle section", "[a]\r\nx=1\r\n[vcache]\r\nmin=1\r\nmax=2\r\n[b]\r\ny=2\r\n", "vcache",
       "[a]\r\nx=1\r\n[b]\r\ny=2\r\n"},
      {"last section, to the end", "[a]\r\nx=1\r\n[vcache]\r\nm=1\r\n\r\n; note\r\n", "vcache",
       "[a]\r\nx=1\r\n"},
      {"first section", "[vcache]\r\nm=1\r\n\r\n[x]\r\nb", "vcache", "[x]\r\nb\r\n"},
      {"two sections of the name", "[vcache]\r\na\r\n[x]\r\nb\r\n[vcache]\r\nc\r\n", "vcache",
       "[x]\r\nb\r\n"},
      {"other case is another section", "[VCache]\r\nm=1", "vcache", "[VCache]\r\nm=1\r\n"},
      {"blank after the bracket: not a header", "[vcache] \r\nm=1", "vcache", "[vcache] \r\nm=1\r\n"},
      {"blank before the bracket: not a header", "[a]\r\n [vcache]\r\nm=1", "a", "\r\n"},
      {"text after the bracket: not a header", "[vcache]x\r\nm=1", "vcache", "[vcache]x\r\nm=1\r\n"},
      {"the name is compared untrimmed", "[ vcache ]\r\nm=1", "vcache", "[ vcache ]\r\nm=1\r\n"},
      {"lone brackets are ordinary lines", "[\r\n]\r\n", "", "[\r\n]\r\n"},
      {"[] is the empty name", "[]\r\na\r\n[x]\r\nb", "", "[x]\r\nb\r\n"},
      {"[] is not another name", "[]\r\na", "vcache", "[]\r\na\r\n"},
      {"a bracket inside the name", "[a]b]\r\nc\r\n[d]\r\n", "a]b", "[d]\r\n"},
      {"only the section", "[vcache]\r\nm=1\r\n", "vcache", "\r\n"},
      {"empty file", "", "vcache", "\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakeFileApi files;
    files.files[kPath] = c.before;
    EXPECT_TRUE(RemoveIniSection(files, kPath, c.section));
    EXPECT_EQ(files.files[kPath], c.after);
  }
}

// In a double-byte code page the trail byte of a character can be "]" (0x5D).
TEST(RemoveIniSection, ReadsCharactersNotBytes) {
  FakeFileApi files;
  files.ansiCharacters["\x83\x5D"] = "\xE3\x82\xBE";  // one character, bytes 83 5D
  files.files[kPath] = "[vcache]\r\nx=1\r\n[\x83\x5D\r\ny=2\r\n[b]\r\nk=\x83\x5D\r\n";
  EXPECT_TRUE(RemoveIniSection(files, kPath, "vcache"));
  EXPECT_EQ(files.files[kPath], "[b]\r\nk=\x83\x5D\r\n");
}

TEST(RemoveIniSection, LeavesTheFileAsItWasOnFailure) {
  struct Case {
    const char* name;
    void (*setUp)(FakeFileApi&);
    int replaceCalls;
  };
  const std::string original = "[vcache]\r\nm=1\r\n[x]\r\n\x99\r\n";
  const Case cases[] = {
      {"unreadable", [](FakeFileApi& f) { f.unreadable = {kPath}; }, 0},
      {"bytes outside the code page", [](FakeFileApi&) {}, 0},
      {"the replacement fails",
       [](FakeFileApi& f) {
         f.ansiCharacters["\x99"] = "\xE2\x84\xA2";
         f.replaceFails = true;
       },
       1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakeFileApi files;
    files.files[kPath] = original;
    c.setUp(files);
    EXPECT_FALSE(RemoveIniSection(files, kPath, "vcache"));
    EXPECT_EQ(files.files[kPath], original);
    EXPECT_EQ(files.replaceCalls, c.replaceCalls);
  }
}

TEST(RemoveIniSection, AMissingFileStaysMissing) {
  FakeFileApi files;
  EXPECT_FALSE(RemoveIniSection(files, kPath, "vcache"));
  EXPECT_TRUE(files.files.empty());
  EXPECT_EQ(files.replaceCalls, 0);
}

}  // namespace
}  // namespace pravelo::memory
