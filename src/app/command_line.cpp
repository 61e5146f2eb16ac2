#include "app/command_line.h"

#include <cctype>
#include <cstddef>

namespace pravelo::app {
namespace {

constexpr std::string_view kCleanSwitch = "/clean";

// Length of the UTF-8 sequence that starts with `lead`.
std::size_t SequenceLength(unsigned char lead) {
  if (lead < 0x80) return 1;
  if ((lead & 0xE0) == 0xC0) return 2;
  if ((lead & 0xF0) == 0xE0) return 3;
  if ((lead & 0xF8) == 0xF0) return 4;
  return 1;
}

// The text after the two switch characters and the one character that follows them.
std::string ArgumentOf(std::string_view commandLine) {
  if (commandLine.size() <= 2) return {};
  std::size_t start = 2 + SequenceLength(static_cast<unsigned char>(commandLine[2]));
  return start < commandLine.size() ? std::string(commandLine.substr(start)) : std::string();
}

bool IsAbsolute(std::string_view path) {
  bool drive = path.size() >= 3 && path[1] == ':' && (path[2] == '\\' || path[2] == '/');
  bool unc = path.size() >= 2 && path[0] == '\\' && path[1] == '\\';
  return drive || unc;
}

bool HasExtension(std::string_view path) {
  std::size_t name = path.find_last_of("\\/");
  std::size_t dot = path.rfind('.');
  return dot != std::string_view::npos && (name == std::string_view::npos || dot > name);
}

}  // namespace

CommandLineSwitch ParseCommandLine(std::string_view commandLine) {
  if (commandLine == "/a") return {SwitchKind::Optimize, {}};
  if (commandLine == "/b") return {SwitchKind::DeepOptimize, {}};
  if (commandLine == "/tray") return {SwitchKind::Tray, {}};
  if (commandLine == "/u") return {SwitchKind::ShowPath, {}};
  // A switch word and a blank, then the areas; "/c" is no prefix of another switch.
  if (commandLine == kCleanSwitch) return {SwitchKind::Clean, {}};
  if (commandLine.substr(0, kCleanSwitch.size() + 1) == std::string(kCleanSwitch) + " ") {
    return {SwitchKind::Clean, std::string(commandLine.substr(kCleanSwitch.size() + 1))};
  }
  std::string_view prefix = commandLine.substr(0, 2);
  if (prefix == "/o") return {SwitchKind::Report, ArgumentOf(commandLine)};
  if (prefix == "/q") return {SwitchKind::QuickUpdate, ArgumentOf(commandLine)};
  return {};
}

std::optional<memory::AreaSet> CleanAreas(std::string_view argument) {
  memory::ParsedAreaList parsed = memory::ParseAreaList(argument);
  for (const std::string& name : parsed.unknown) {
    std::string lower;
    for (char c : name) lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (lower != "all") return std::nullopt;
    parsed.areas = memory::AreaSet::All();
  }
  if (parsed.areas.Empty()) return std::nullopt;
  return parsed.areas;
}

std::string QuickUpdateTarget(std::string_view argument, std::string_view programFolder) {
  if (argument.size() >= 2 && argument.front() == '"' && argument.back() == '"') {
    argument = argument.substr(1, argument.size() - 2);
  }
  std::string target;
  if (IsAbsolute(argument)) {
    target = argument;
  } else {
    target = std::string(programFolder) + "\\" + std::string(argument);
  }
  if (!HasExtension(target)) target += ".exe";
  return target;
}

std::string QuoteForCommandLine(std::string_view path) { return "\"" + std::string(path) + "\""; }

}  // namespace pravelo::app
