#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/numeric.h"
#include "update/sequential_items.h"
#include "update/version_file.h"

namespace pravelo::update {
namespace {

std::vector<std::string> AllItems(std::string_view text) {
  std::vector<std::string> items;
  ItemReader reader(text);
  while (auto item = reader.Next()) items.emplace_back(*item);
  return items;
}

TEST(ItemReader, SeparatorsBlanksAndQuotes) {
  const struct {
    std::string_view text;
    std::vector<std::string> items;
  } cases[] = {
      {"", {}},
      {" \t\r\n\r\n", {}},
      {"1.43", {"1.43"}},
      {"1.43,http://h/p.exe", {"1.43", "http://h/p.exe"}},
      {"1.43\r\nhttp://h/p.exe\r\n", {"1.43", "http://h/p.exe"}},
      {"1.43\nhttp://h/p.exe", {"1.43", "http://h/p.exe"}},
      {"1.43\rhttp://h/p.exe", {"1.43", "http://h/p.exe"}},
      {"  1.43 \t,  two words  ", {"1.43", "two words"}},
      {"1.43\r\n\r\n\r\nnext", {"1.43", "next"}},
      {"1.43,\r\nnext", {"1.43", "next"}},
      {"a,,b", {"a", "", "b"}},
      {",a", {"", "a"}},
      {"\"a,b\",c", {"a,b", "c"}},
      {"  \" padded \" ,c", {" padded ", "c"}},
      {"\"two\r\nlines\"\r\nc", {"two\r\nlines", "c"}},
      {"\"a\"junk,b", {"a", "b"}},
      {"\"\",b", {"", "b"}},
      {"\"unclosed, to the end", {"unclosed, to the end"}},
      {"a\"b,c", {"a\"b", "c"}},
  };
  for (const auto& c : cases) EXPECT_EQ(AllItems(c.text), c.items) << "text: " << c.text;
}

TEST(VersionFile, ItemsByPosition) {
  VersionFile two = ReadVersionFile("1.43\r\nhttp://h/p.exe\r\n");
  EXPECT_EQ(two.version, "1.43");
  EXPECT_EQ(two.executableUrl, "http://h/p.exe");
  EXPECT_FALSE(two.sha256);

  VersionFile three = ReadVersionFile("1.43,http://h/p.exe,ABCDEF,ignored,\"also, ignored\"");
  EXPECT_EQ(three.sha256, "ABCDEF");

  EXPECT_FALSE(ReadVersionFile("1.43,http://h/p.exe,").sha256);
  EXPECT_FALSE(ReadVersionFile("1.43,http://h/p.exe,,more").sha256);

  VersionFile empty = ReadVersionFile("");
  EXPECT_FALSE(empty.version);
  EXPECT_FALSE(empty.executableUrl);
}

// Every version with one-digit minor and revision numbers equals its own text, so a server
// that publishes the running version never offers it as an update.
TEST(VersionNumber, EqualsItsPublishedText) {
  for (uint16_t major = 0; major <= 30; ++major) {
    for (uint16_t minor = 0; minor <= 9; ++minor) {
      for (uint16_t revision = 0; revision <= 9; ++revision) {
        const std::string text =
            std::to_string(major) + "." + std::to_string(minor) + std::to_string(revision);
        ASSERT_EQ(VersionNumber(major, minor, revision), NumericValue(text)) << text;
        ASSERT_FALSE(IsUpdateDue(VersionNumber(major, minor, revision), text)) << text;
      }
    }
  }
}

TEST(VersionNumber, ScaleOfTenthsAndHundredths) {
  EXPECT_EQ(VersionNumber(1, 4, 2), 1.42);
  EXPECT_EQ(VersionNumber(1, 10, 0), VersionNumber(2, 0, 0));
  EXPECT_EQ(VersionNumber(1, 0, 10), VersionNumber(1, 1, 0));
  EXPECT_EQ(VersionNumber(65535, 65535, 65535), 72743.85);  // no overflow
}

TEST(IsUpdateDue, OnlyStrictlyGreaterNumbers) {
  const struct {
    std::string_view remote;
    bool due;
  } cases[] = {
      {"1.42", false}, {"1.43", true}, {"1.421", true},    {"1.41", false},
      {"2", true},     {" 1.5", true}, {"1.5beta", true},  {"<html>", false},
      {"", false},     {"-3", false},  {"1.42000", false},
  };
  for (const auto& c : cases) EXPECT_EQ(IsUpdateDue(1.42, c.remote), c.due) << "remote: " << c.remote;
}

}  // namespace
}  // namespace pravelo::update
