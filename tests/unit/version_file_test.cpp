#include <gtest/gtest.h>

#include <string>
#include <vector>

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
  VersionFile two = ReadVersionFile("1.4.3\r\nhttp://h/p.exe\r\n");
  EXPECT_EQ(two.version, "1.4.3");
  EXPECT_EQ(two.executableUrl, "http://h/p.exe");
  EXPECT_FALSE(two.sha256);
  EXPECT_FALSE(two.expires);

  VersionFile four = ReadVersionFile("1.4.3,http://h/p.exe,ABCDEF,2027-01-01T00:00:00Z,\"ignored, too\"");
  EXPECT_EQ(four.sha256, "ABCDEF");
  EXPECT_EQ(four.expires, "2027-01-01T00:00:00Z");

  VersionFile emptyItems = ReadVersionFile("1.4.3,http://h/p.exe,,");
  EXPECT_FALSE(emptyItems.sha256);
  EXPECT_FALSE(emptyItems.expires);

  VersionFile empty = ReadVersionFile("");
  EXPECT_FALSE(empty.version);
  EXPECT_FALSE(empty.executableUrl);
}

TEST(Version, ComponentsAreNumbersAndCompareAsNumbers) {
  const struct {
    std::string_view text;
    std::optional<Version> version;
  } cases[] = {
      {"1.4.12", Version{1, 4, 12}},
      {"1.5", Version{1, 5, 0}},
      {"2", Version{2, 0, 0}},
      {"0.0.0", Version{0, 0, 0}},
      {"65535.0.65535", Version{65535, 0, 65535}},
      {"01.4.2", Version{1, 4, 2}},
      {"", std::nullopt},
      {"1.4.2.0", std::nullopt},
      {"1..2", std::nullopt},
      {"1.4.", std::nullopt},
      {".4", std::nullopt},
      {"1.65536", std::nullopt},
      {" 1.4", std::nullopt},
      {"1.4 ", std::nullopt},
      {"1.4beta", std::nullopt},
      {"+1.4", std::nullopt},
      {"-1.4", std::nullopt},
      {"<html>", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(ParseVersion(c.text), c.version) << c.text;

  EXPECT_LT(*ParseVersion("1.4.12"), *ParseVersion("1.5.0"));
  EXPECT_LT(*ParseVersion("1.4.2"), *ParseVersion("1.4.12"));
  EXPECT_LT(*ParseVersion("1.9"), *ParseVersion("1.10"));
  EXPECT_EQ(VersionText(Version{1, 4, 12}), "1.4.12");
  EXPECT_EQ(ParseVersion(VersionText(Version{65535, 0, 7})), (Version{65535, 0, 7}));
}

TEST(UtcTime, OnlyTheFullTextInUtcWithRealDates) {
  const struct {
    std::string_view text;
    std::optional<int64_t> seconds;
  } cases[] = {
      {"1970-01-01T00:00:00Z", 0},
      {"2027-01-01T00:00:00Z", 1798761600},
      {"2000-02-29T23:59:59Z", 951868799},
      {"2024-12-31T12:30:05Z", 1735648205},
      {"2100-02-29T00:00:00Z", std::nullopt},
      {"2027-02-29T00:00:00Z", std::nullopt},
      {"2027-13-01T00:00:00Z", std::nullopt},
      {"2027-00-01T00:00:00Z", std::nullopt},
      {"2027-04-31T00:00:00Z", std::nullopt},
      {"2027-01-01T24:00:00Z", std::nullopt},
      {"2027-01-01T00:60:00Z", std::nullopt},
      {"2027-01-01T00:00:60Z", std::nullopt},
      {"2027-01-01T00:00:00", std::nullopt},
      {"2027-01-01T00:00:00+01:00", std::nullopt},
      {"2027-01-01 00:00:00Z", std::nullopt},
      {"2027-1-01T00:00:00Z", std::nullopt},
      {"+027-01-01T00:00:00Z", std::nullopt},
      {"", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(ParseUtcTime(c.text), c.seconds) << c.text;
}

}  // namespace
}  // namespace pravelo::update
