// The running program's own file.
#pragma once

#include <string>

namespace pravelo {

// The full path of the running program's file, long paths included; empty on failure.
std::wstring RunningModulePath();

}  // namespace pravelo
