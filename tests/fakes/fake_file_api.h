// Files held in memory, and a small code page that a test can give multibyte characters.
#pragma once

#include <map>
#include <set>
#include <string>

#include "platform/file_api.h"

namespace pravelo::fakes {

class FakeFileApi : public FileApi {
 public:
  std::map<std::string, std::string> files;  // path -> bytes
  std::set<std::string> unreadable;
  bool replaceFails = false;
  bool copyFails = false;
  // Characters of the code page beyond ASCII: ANSI bytes -> UTF-8. Any other byte of 0x80
  // or above does not convert, and neither does UTF-8 that is not ASCII or listed here.
  std::map<std::string, std::string> ansiCharacters;

  int replaceCalls = 0;

  std::optional<std::string> ReadBytes(const std::string& path) override {
    const auto found = files.find(path);
    if (found == files.end() || unreadable.count(path) != 0) return std::nullopt;
    return found->second;
  }
  bool ReplaceWithBytes(const std::string& path, std::string_view bytes) override {
    ++replaceCalls;
    if (replaceFails) return false;
    files[path] = std::string(bytes);
    return true;
  }
  bool Copy(const std::string& from, const std::string& to) override {
    const auto found = files.find(from);
    if (found == files.end() || copyFails) return false;
    files[to] = found->second;
    return true;
  }
  std::optional<std::string> AnsiToUtf8(std::string_view ansi) override { return Convert(ansi, true); }
  std::optional<std::string> Utf8ToAnsi(std::string_view utf8) override { return Convert(utf8, false); }

 private:
  std::optional<std::string> Convert(std::string_view text, bool fromAnsi) const {
    std::string out;
    std::size_t at = 0;
    while (at < text.size()) {
      if (static_cast<unsigned char>(text[at]) < 0x80) {
        out += text[at++];
        continue;
      }
      bool matched = false;
      for (const auto& [ansi, utf8] : ansiCharacters) {
        const std::string& from = fromAnsi ? ansi : utf8;
        if (text.compare(at, from.size(), from) == 0) {
          out += fromAnsi ? utf8 : ansi;
          at += from.size();
          matched = true;
          break;
        }
      }
      if (!matched) return std::nullopt;
    }
    return out;
  }
};

}  // namespace pravelo::fakes
