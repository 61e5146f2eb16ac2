// What "/clean" writes to its standard output: one tab-separated line per area (area,
// result, freed bytes, milliseconds, Windows error code), then a total line.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "memory/optimizer.h"

namespace pravelo::app {

// The result as scripts read it: "Done", "Partly", "Failed", "Not supported" or "n/a".
std::string_view OutcomeWord(memory::AreaOutcome outcome);

std::string CleanReport(const std::vector<memory::AreaResult>& results);

}  // namespace pravelo::app
