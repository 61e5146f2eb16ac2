#include "app/clean_report.h"

namespace pravelo::app {
namespace {

constexpr std::string_view kNotMeasured = "n/a";
constexpr std::string_view kLineEnd = "\r\n";

std::string Line(std::string_view area, std::string_view result, const std::optional<int64_t>& freed,
                 uint64_t ms, uint32_t error) {
  std::string line(area);
  line += '\t';
  line += result;
  line += '\t';
  line += freed ? std::to_string(*freed) : std::string(kNotMeasured);
  line += '\t' + std::to_string(ms) + '\t' + std::to_string(error);
  line += kLineEnd;
  return line;
}

}  // namespace

std::string_view OutcomeWord(memory::AreaOutcome outcome) {
  switch (outcome) {
    case memory::AreaOutcome::Done:
      return "Done";
    case memory::AreaOutcome::Partly:
      return "Partly";
    case memory::AreaOutcome::Failed:
      return "Failed";
    case memory::AreaOutcome::NotSupported:
      return "Not supported";
    case memory::AreaOutcome::NotMeasured:
      break;
  }
  return kNotMeasured;
}

std::string CleanReport(const std::vector<memory::AreaResult>& results) {
  std::string report;
  uint64_t totalMs = 0;
  for (const memory::AreaResult& result : results) {
    report += Line(memory::AreaName(result.area), OutcomeWord(result.outcome), result.freedBytes,
                   result.durationMs, result.errorCode);
    totalMs += result.durationMs;
  }
  const bool allDone = memory::EveryAreaDone(results);
  report += Line("Total", allDone ? OutcomeWord(memory::AreaOutcome::Done) : "Not all done",
                 memory::FreedBytes(results), totalMs, 0);
  return report;
}

}  // namespace pravelo::app
