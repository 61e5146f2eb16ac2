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

}  // namespace pravelo
