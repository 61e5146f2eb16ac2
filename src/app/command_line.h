// The start-up switches: which one the command line selects, and the paths they use.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "memory/memory_areas.h"

namespace pravelo::app {

enum class SwitchKind {
  None,
  Optimize,      // "/a": the standard pass, then the end
  DeepOptimize,  // "/b": the deep pass, then the end
  Tray,          // "/tray": start in the tray
  ShowPath,      // "/u": show the program's path
  Report,        // "/o <MB>": report the deep pass's before and after
  QuickUpdate,   // "/q <target>": copy this program over the target and start it
  Clean,         // "/clean <areas>": free those areas once, then the end
};

// The exit codes of "/clean".
inline constexpr uint32_t kCleanAllDone = 0;
inline constexpr uint32_t kCleanSomeNotDone = 1;  // an area was refused or is not supported
inline constexpr uint32_t kCleanUnknownArea = 2;  // nothing ran

struct CommandLineSwitch {
  SwitchKind kind = SwitchKind::None;
  std::string argument;  // for the prefix switches: the text from the fourth character on
};

// Whole-text and two-character prefix matches, case-sensitive; at most one switch acts.
CommandLineSwitch ParseCommandLine(std::string_view commandLine);

// The areas of "/clean": "all", or setting names separated by commas, in any letter case.
// Nothing when a name is no area or no area is named.
std::optional<memory::AreaSet> CleanAreas(std::string_view argument);

// Where "/q" copies the program: an absolute argument as it is, otherwise inside the
// program's folder; ".exe" added when the name has no extension. Quotes around the
// argument are dropped.
std::string QuickUpdateTarget(std::string_view argument, std::string_view programFolder);

// A path as one item of a command line, so that blanks cannot split it.
std::string QuoteForCommandLine(std::string_view path);

}  // namespace pravelo::app
