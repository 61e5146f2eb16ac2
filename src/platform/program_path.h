// The parts of the running program's path that the program builds other paths from.
#pragma once

#include <string>
#include <string_view>

namespace pravelo {

struct ProgramPathParts {
  std::string folder;    // without a trailing backslash
  std::string baseName;  // the file name without its extension
};

ProgramPathParts SplitProgramPath(std::string_view path);

// Whether two paths name the same file as Windows compares them: without regard to case.
bool SamePath(std::string_view a, std::string_view b);

}  // namespace pravelo
