// Folders as the system reports them, not as the environment variables say: an elevated
// program must not let whoever set its environment choose where it reads, writes or loads.
#pragma once

#include <string>

namespace pravelo {

// Each without a trailing backslash; empty when the system does not answer.
std::wstring WindowsFolderPath();
std::wstring SystemFolderPath();

}  // namespace pravelo
