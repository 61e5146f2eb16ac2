#include "fakes/fake_system.h"

#include <fstream>
#include <regex>
#include <sstream>
#include <stdexcept>

namespace pravelo::fakes {

std::optional<std::string> FakeEnvironment::Variable(std::string_view name) {
  auto it = variables.find(std::string(name));
  if (it == variables.end()) return std::nullopt;
  return it->second;
}

std::optional<HttpResponse> FakeHttp::Get(std::string_view url, const HttpLimits& limits) {
  requested.emplace_back(url);
  lastTimeoutMs = limits.timeoutMs;
  if (onGet) onGet();
  auto it = responses.find(std::string(url));
  if (it == responses.end()) return std::nullopt;
  return it->second;
}

std::map<uint16_t, std::map<int, std::string>> ReadStringScript() {
  std::ifstream names(std::string(PRAVELO_SOURCE_DIR) + "/resources/text_ids.h");
  std::ifstream file(PRAVELO_STRINGS_RC);
  if (!names || !file) throw std::runtime_error("the generated strings.rc or text_ids.h not found");
  std::map<std::string, int> numbers;
  const std::regex definition(R"(^#define\s+(\w+)\s+(\d+))");
  std::string line;
  std::smatch match;
  while (std::getline(names, line)) {
    if (std::regex_search(line, match, definition)) numbers[match[1]] = std::stoi(match[2]);
  }
  std::map<uint16_t, std::map<int, std::string>> tables;
  const std::regex language(R"(^LANGUAGE\s+0x([0-9a-fA-F]+),\s*0x([0-9a-fA-F]+))");
  const std::regex entry(R"re(^\s*(\w+)\s+"((?:[^"\\]|\\.|"")*)"\s*$)re");
  uint16_t current = 0;
  while (std::getline(file, line)) {
    if (std::regex_search(line, match, language)) {
      const int primary = std::stoi(match[1], nullptr, 16);
      current = static_cast<uint16_t>(primary | std::stoi(match[2], nullptr, 16) << 10);
    } else if (current != 0 && std::regex_match(line, match, entry)) {
      // The script's escapes are a doubled backslash and a doubled quote.
      std::string text = std::regex_replace(match[2].str(), std::regex(R"(\\\\)"), "\\");
      tables[current][numbers.at(match[1])] = std::regex_replace(text, std::regex("\"\""), "\"");
    }
  }
  return tables;
}

RcStringTable::RcStringTable(uint16_t language) : texts_(ReadStringScript().at(language)) {}

std::string RcStringTable::Text(int id) {
  auto it = texts_.find(id);
  return it == texts_.end() ? std::string() : it->second;
}

}  // namespace pravelo::fakes
