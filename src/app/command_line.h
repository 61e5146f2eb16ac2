// The start-up switches: which one the command line selects, and the paths they use.
#pragma once

#include <string>
#include <string_view>

namespace pravelo::app {

enum class SwitchKind {
  None,
  Optimize,      // "/a": the standard pass, then the end
  DeepOptimize,  // "/b": the deep pass, then the end
  Tray,          // "/tray": start in the tray
  ShowPath,      // "/u": show the program's path
  Report,        // "/o <MB>": report the deep pass's before and after
  QuickUpdate,   // "/q <target>": copy this program over the target and start it
};

struct CommandLineSwitch {
  SwitchKind kind = SwitchKind::None;
  std::string argument;  // for the prefix switches: the text from the fourth character on
};

// Whole-text and two-character prefix matches, case-sensitive; at most one switch acts.
CommandLineSwitch ParseCommandLine(std::string_view commandLine);

// Where "/q" copies the program: an absolute argument as it is, otherwise inside the
// program's folder; ".exe" added when the name has no extension. Quotes around the
// argument are dropped.
std::string QuickUpdateTarget(std::string_view argument, std::string_view programFolder);

// A path as one item of a command line, so that blanks cannot split it.
std::string QuoteForCommandLine(std::string_view path);

}  // namespace pravelo::app
