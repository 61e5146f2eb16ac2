#include "memory/ini_section.h"

#include <string_view>

namespace pravelo::memory {
namespace {

constexpr std::string_view kLineBreak = "\r\n";

bool IsHeader(std::string_view line) { return line.size() >= 2 && line.front() == '[' && line.back() == ']'; }

// Calls `onLine` for every line; LF, CR LF and a lone CR each end one.
template <typename OnLine>
void ForEachLine(std::string_view text, OnLine onLine) {
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) {
      onLine(text.substr(start));
      return;
    }
    onLine(text.substr(start, end - start));
    start = end + (text.compare(end, kLineBreak.size(), kLineBreak) == 0 ? kLineBreak.size() : 1);
  }
}

}  // namespace

bool RemoveIniSection(FileApi& files, const std::string& path, const std::string& section) {
  const std::optional<std::string> bytes = files.ReadBytes(path);
  if (!bytes) return false;
  // Lines are read as characters, not bytes: in a double-byte code page a trail byte can
  // look like "]".
  const std::optional<std::string> text = files.AnsiToUtf8(*bytes);
  if (!text) return false;

  std::string kept;
  bool skipping = false;
  ForEachLine(*text, [&](std::string_view line) {
    if (IsHeader(line)) skipping = line.substr(1, line.size() - 2) == section;
    if (skipping) return;
    if (!kept.empty()) kept += kLineBreak;
    kept += line;
  });
  kept += kLineBreak;

  const std::optional<std::string> rewritten = files.Utf8ToAnsi(kept);
  if (!rewritten) return false;
  return files.ReplaceWithBytes(path, *rewritten);
}

}  // namespace pravelo::memory
