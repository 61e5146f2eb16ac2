// Reading a process's whole command line the way the program's switches expect it.
#pragma once

#include <string_view>

namespace pravelo {

// What follows the program's name: the name is quoted up to the next quote or runs to the
// first blank, and the blanks after it are not part of the arguments.
std::string_view ArgumentText(std::string_view commandLine);

}  // namespace pravelo
