// The start-up switches that do one thing and end the process, before any window shows.
#pragma once

#include <string>

#include "app/optimize_command.h"
#include "platform/platform.h"

namespace pravelo::app {

// "/clean": the areas named, once, then the end, with an exit code that tells how it went.
[[noreturn]] void CleanOnce(Platform& platform, OptimizeCommand& command, const std::string& argument);
// "/q": this program's verified bytes written over the target, which is started; then the end.
[[noreturn]] void QuickUpdate(Platform& platform, const std::string& argument);

}  // namespace pravelo::app
