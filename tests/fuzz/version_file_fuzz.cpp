// libFuzzer target: the version file's item reader on arbitrary bytes.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "update/sequential_items.h"
#include "update/version_file.h"

namespace {

using pravelo::update::ItemReader;

// A broken property names itself before libFuzzer keeps the input.
#define REQUIRE(condition) \
  ((condition) ? void() : (std::fprintf(stderr, "%s:%d: %s\n", __FILE__, __LINE__, #condition), std::abort()))

std::vector<std::string_view> AllItems(std::string_view text) {
  std::vector<std::string_view> items;
  ItemReader reader(text);
  while (auto item = reader.Next()) {
    items.push_back(*item);
    REQUIRE(items.size() <= text.size());  // every item uses up at least one byte
  }
  return items;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const std::vector<std::string_view> items = AllItems(text);

  bool quotable = true;
  for (std::string_view item : items) {
    REQUIRE(item.data() >= text.data() && item.data() + item.size() <= text.data() + text.size());
    const bool quoted = item.data() > text.data() && item.data()[-1] == '"';
    if (!quoted) {
      REQUIRE(item.find_first_of(",\r\n") == std::string_view::npos);
      REQUIRE(item.empty() || (item.front() != ' ' && item.front() != '\t'));
      REQUIRE(item.empty() || (item.back() != ' ' && item.back() != '\t'));
    }
    quotable = quotable && item.find('"') == std::string_view::npos;
  }

  // Items written back in quotes read back unchanged.
  if (quotable) {
    std::string written;
    for (size_t i = 0; i < items.size(); ++i) {
      if (i > 0) written += i % 2 ? "," : "\r\n";
      written += '"';
      written += items[i];
      written += '"';
    }
    REQUIRE(AllItems(written) == items);
  }

  const pravelo::update::VersionFile file = pravelo::update::ReadVersionFile(text);
  REQUIRE(file.version.has_value() == !items.empty());
  if (file.version) REQUIRE(*file.version == items[0]);
  if (file.executableUrl) REQUIRE(items.size() >= 2 && *file.executableUrl == items[1]);
  if (file.sha256) REQUIRE(items.size() >= 3 && !file.sha256->empty() && *file.sha256 == items[2]);
  if (file.expires) REQUIRE(items.size() >= 4 && !file.expires->empty() && *file.expires == items[3]);
  // A version read back from its text is the same version.
  if (file.version) {
    if (const auto version = pravelo::update::ParseVersion(*file.version)) {
      REQUIRE(pravelo::update::ParseVersion(pravelo::update::VersionText(*version)) == version);
    }
  }
  if (file.expires) (void)pravelo::update::ParseUtcTime(*file.expires);
  return 0;
}
